#include "work_files.h"

#include <algorithm>
#include <cctype>

#include "window_helpers.h"

namespace tarnwick {
namespace {

constexpr int kReleaseWaitMs = 2000;  // lets the preview let go of the last copy it showed
constexpr char kFileDeleteProgram[] = "/fileDelete";

// A work folder's name: six decimal numbers joined by hyphens.
bool IsWorkFolderName(const std::string& name) {
  int numbers = 0;
  bool inNumber = false;
  for (char c : name) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      if (!inNumber) ++numbers;
      inNumber = true;
    } else if (c == '-' && inNumber) {
      inNumber = false;
    } else {
      return false;
    }
  }
  return inNumber && numbers == 6;
}

}  // namespace

bool IsWorkCopy(AppContext& app, const std::string& path) {
  const std::optional<std::string> temporary = app.desktop.files.TemporaryFolder();
  if (!temporary || path.size() <= temporary->size() || !path.starts_with(*temporary)) {
    return false;
  }
  const std::string inside = path.substr(temporary->size());
  const std::size_t separator = inside.find('/');
  if (separator == std::string::npos || inside.find('/', separator + 1) != std::string::npos) {
    return false;
  }
  const std::string name = inside.substr(separator + 1);
  return IsWorkFolderName(inside.substr(0, separator)) && !name.empty() && name != "." &&
         name != "..";
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
