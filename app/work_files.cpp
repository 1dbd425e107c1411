#include "work_files.h"

#include "work_copy_path.h"

namespace tarnwick {
namespace {

constexpr int kReleaseWaitMs = 2000;  // lets the preview let go of the last copy it showed
constexpr char kFileDeleteProgram[] = "/fileDelete";

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

void CleanUpWorkFiles(AppContext& app, CleanUpMode mode, const std::function<void()>& beforeLast) {
  std::deque<std::string>& workFiles = app.workFiles;
  while (workFiles.size() >= 2) {
    DeleteWorkCopy(app, workFiles.front());
    workFiles.pop_front();
  }
  if (beforeLast) beforeLast();
  if (workFiles.size() != 1) return;

  const std::string last = workFiles.front();
  if (mode == CleanUpMode::afterPreview) {
    app.desktop.windowThread.Wait(kReleaseWaitMs);
    DeleteWorkCopy(app, last);
    workFiles.pop_front();
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
