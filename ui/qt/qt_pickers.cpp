#include "qt_pickers.h"

#include <QFileDialog>
#include <QStringList>

#include "widget_handle.h"

namespace tarnwick::qt {

QString FilterLine(const OpenFilesRequest& request) {
  QStringList patterns;
  for (const std::string& pattern : request.patterns) patterns << QString::fromStdString(pattern);
  return QString::fromStdString(request.filterName) + QStringLiteral(" (") +
         patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

std::optional<std::vector<std::string>> QtPickers::PickFiles(const OpenFilesRequest& request) {
  QFileDialog dialog(WidgetOf(request.owner), QString::fromStdString(request.title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(request.multipleSelection ? QFileDialog::ExistingFiles
                                               : QFileDialog::ExistingFile);
  dialog.setNameFilter(FilterLine(request));
  dialog.setOption(QFileDialog::ReadOnly);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  std::vector<std::string> paths;
  for (const QString& path : dialog.selectedFiles()) paths.push_back(path.toStdString());
  return paths;
}

std::optional<std::string> QtPickers::PickFolder(WindowHandle* owner, const std::string& title,
                                                 const std::string& start) {
  const QString folder =
      QFileDialog::getExistingDirectory(WidgetOf(owner), QString::fromStdString(title),
                                        QString::fromStdString(start), QFileDialog::ShowDirsOnly);
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

}  // namespace tarnwick::qt
