#include "work_files.h"

#include <algorithm>
#include <vector>

#include "part_file_name.h"
#include "path_separators.h"
#include "work_copy_path.h"

namespace tarnwick {
namespace {

constexpr int kReleaseWaitMs = 2000;  // lets the preview let go of the last copy it showed
constexpr char kFileDeleteProgram[] = "/fileDelete";

// Deletes the last copy of a closed preview once that preview has let go of it. A preview that
// opened meanwhile may show a new copy under the same name: the entry then stays for that
// preview's own clean-ups.
void DeleteReleasedCopy(AppContext& app, const std::string& path) {
  if (app.workCopies.previewOpen) return;
  std::deque<std::string>& pending = app.workCopies.pending;
  const auto entry = std::find(pending.begin(), pending.end(), path);
  if (entry == pending.end()) return;  // a clean-up at exit took it along
  pending.erase(entry);
  DeleteWorkCopy(app, path);
}

}  // namespace

bool IsWorkCopy(AppContext& app, const std::string& path) {
  const std::optional<std::string> temporary = app.desktop.files.TemporaryFolder();
  return temporary && IsWorkCopyPath(*temporary, path);
}

bool DeleteWorkCopy(AppContext& app, const std::string& path) {
  if (!IsWorkCopy(app, path)) return false;
  DesktopFiles& files = app.desktop.files;
  files.ResetAttributes(path);
  const bool deleted = files.Delete(path);
  files.RemoveFolder(FolderOf(path));
  return deleted;
}

void RemoveEmptyWorkFolder(AppContext& app, const std::string& copyPath) {
  if (IsWorkCopy(app, copyPath)) app.desktop.files.RemoveFolder(FolderOf(copyPath));
}

void RemoveEarlierWorkCopies(AppContext& app) {
  DesktopFiles& files = app.desktop.files;
  const std::optional<std::string> temporary = files.TemporaryFolder();
  if (!temporary || temporary->empty()) return;
  const char separator = SeparatorOf(*temporary);
  for (const std::string& name : files.FolderEntries(*temporary)) {
    if (!IsWorkFolderName(name)) continue;
    const std::string folder = *temporary + name;
    for (const std::string& entry : files.FolderEntries(folder)) {
      const std::string path = folder + separator + entry;
      if (PartFileProcess(entry)) {
        files.RemoveAbandonedPartFile(path);
      } else {
        DeleteWorkCopy(app, path);
      }
    }
    files.RemoveFolder(folder);
  }
}

void DeleteAllWorkCopies(AppContext& app) {
  std::vector<std::string> copies(app.workCopies.pending.begin(), app.workCopies.pending.end());
  copies.push_back(app.workCopies.shown);
  copies.push_back(app.Job().outputPath);
  for (const std::string& path : copies) {
    if (app.desktop.files.IsFile(path)) {
      DeleteWorkCopy(app, path);
    } else {
      RemoveEmptyWorkFolder(app, path);
    }
  }
  app.workCopies.pending.clear();
  // The program's own temporary folder goes too once nothing is left in it.
  if (const std::optional<std::string> temporary = app.desktop.files.TemporaryFolder()) {
    app.desktop.files.RemoveFolder(FolderOf(*temporary));
  }
}

void CleanUpWorkFiles(AppContext& app, CleanUpMode mode, const std::function<void()>& beforeLast) {
  std::deque<std::string>& pending = app.workCopies.pending;
  while (pending.size() >= 2) {
    DeleteWorkCopy(app, pending.front());
    pending.pop_front();
  }
  if (beforeLast) beforeLast();
  if (pending.size() != 1) return;

  const std::string last = pending.front();
  if (mode == CleanUpMode::afterPreview) {
    app.desktop.windowThread.PostAfter(kReleaseWaitMs,
                                       [&app, last] { DeleteReleasedCopy(app, last); });
    return;
  }
  // At exit the program ends right after this, so the entry stays. A copy that cannot be
  // deleted now is handed to the deletion program, which retries after this process has gone.
  if (!IsWorkCopy(app, last)) return;
  if (DeleteWorkCopy(app, last)) return;
  DesktopFiles& files = app.desktop.files;
  app.desktop.shell.Open(files.ShortPath(app.settings.programFolder + kFileDeleteProgram),
                         {files.ShortPath(last), FolderOf(last)});
}

}  // namespace tarnwick
