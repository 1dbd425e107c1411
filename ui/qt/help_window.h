#pragma once

#include <QWidget>

class QLineEdit;
class QTextBrowser;

namespace tarnwick::qt {

// The program's own help window, for a desktop without a browser or document viewer: the help
// document with working links, Back and Forward, and a find field that Ctrl+F opens. Escape
// closes the find field, or else the window.
class HelpWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* owner);

  void ShowDocument(const QString& path);

  QTextBrowser* Browser() const { return browser_; }
  QLineEdit* FindField() const { return findField_; }

 private:
  void OpenFind();
  // Selects the next place of the find field's text after the selection, from the top again
  // after the last one.
  void FindNext();
  void CloseFindOrWindow();

  QTextBrowser* browser_;
  QWidget* findBar_;
  QLineEdit* findField_;
};

}  // namespace tarnwick::qt
