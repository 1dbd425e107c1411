#pragma once

#include "qt_dialog_view.h"

namespace tarnwick::qt {

class PdfPane;

// The preview window: toolbar, source path, the two PDF panes, file number and count, Back File,
// Next File, Back, Save Current File, Save All and the menu. No context menu opens anywhere in
// it: right clicks are swallowed, the panes included.
class QtPreviewView final : public QtDialogView, public PreviewView {
 public:
  explicit QtPreviewView(PreviewEvents& events);
  ~QtPreviewView() override;

  BrowserPane& Pane(int id) override;
  int WindowBottomInClient() override;

  PdfPane* PdfPaneOf(int id) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PdfPane* firstPane_;
  PdfPane* secondPane_;
};

}  // namespace tarnwick::qt
