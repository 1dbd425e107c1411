#pragma once

#include <QDialog>
#include <functional>
#include <map>

#include "dialog_units.h"
#include "views.h"
#include "widget_handle.h"

class QAction;
class QEventLoop;
class QMenuBar;

namespace tarnwick::qt {

class BitmapButton;
class FocusRing;
class SkinnedArea;

// What every window of the program does on screen: a dialog whose client area has the template's
// size and the skin drawn on it, the layout's controls found by id, the program's menu where the
// layout has it, and the events that the
// window's logic decides about (commands, the close box, Escape and F1, paints). The dialog
// itself decides nothing: closing it, Escape and the modal loop's end all go to the logic.
// The keyboard focus shows on every control.
class QtDialogView : public QDialog, public virtual DialogView, public WidgetHandle {
 public:
  // Makes a control that only one window has (the file table, a preview pane) on the client
  // area; the view names it by its id.
  using OwnControlMaker = std::function<QWidget*(const layouts::ControlLayout&, QWidget* area)>;

  // The controls are made in the layout's order, which is the order of the Tab key.
  QtDialogView(WindowEvents& events, const layouts::DialogLayout& layout,
               const OwnControlMaker& makeOwnControl = {});
  ~QtDialogView() override;

  void SetTitle(const std::string& title) override;
  void SetBackground(const std::string& bitmapPath) override;
  void SetButtonLook(int id, const ButtonLook& look) override;
  void SetText(int id, const std::string& text) override;
  void SetProgress(int id, int position) override;
  void EnableControl(int id, bool enabled) override;
  void EnableMenuItem(int id, bool enabled) override;
  void Show() override;
  void Hide() override;
  void Invalidate() override;
  DialogResult RunModal() override;
  void EndModal(DialogResult result) override;

  QWidget* Widget() override { return this; }
  // Where the controls lie: the window without its title bar and menu.
  SkinnedArea* ClientArea() const { return client_; }
  const FocusRing& Focus() const { return *focusRing_; }

 protected:
  WindowEvents& Events() { return events_; }
  // Enter presses this button wherever the focus is, unless on another button.
  void SetDefaultButton(int id);

  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  // Adds the program's menu above the client area.
  void AddProgramMenu();
  void AddControl(const layouts::ControlLayout& control, const OwnControlMaker& makeOwnControl);
  // Buttons report their id as a command when clicked.
  BitmapButton* AddCommandButton(int id, const QString& text, const DialogRect& rect);

  template <typename Control>
  Control* Find(int id) const;

  WindowEvents& events_;
  SkinnedArea* client_;
  QMenuBar* menu_ = nullptr;
  std::map<int, QAction*> menuItems_;
  QEventLoop* loop_ = nullptr;
  FocusRing* focusRing_;
  BitmapButton* defaultButton_ = nullptr;
};

}  // namespace tarnwick::qt
