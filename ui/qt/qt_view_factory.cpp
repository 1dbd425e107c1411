#include "qt_view_factory.h"

#include "about_box.h"
#include "help_window.h"
#include "qt_analysis_view.h"
#include "qt_completion_view.h"
#include "qt_main_window_view.h"
#include "qt_preview_view.h"
#include "qt_saving_view.h"
#include "qt_splash_view.h"
#include "widget_handle.h"

namespace tarnwick::qt {

std::unique_ptr<MainWindowView> QtViewFactory::CreateMainWindowView(WindowEvents& events) {
  return std::make_unique<QtMainWindowView>(events);
}

std::unique_ptr<DialogView> QtViewFactory::CreateAnalysisView(WindowEvents& events) {
  return std::make_unique<QtAnalysisView>(events);
}

std::unique_ptr<PreviewView> QtViewFactory::CreatePreviewView(PreviewEvents& events) {
  return std::make_unique<QtPreviewView>(events);
}

std::unique_ptr<DialogView> QtViewFactory::CreateSavingView(WindowEvents& events) {
  return std::make_unique<QtSavingView>(events);
}

std::unique_ptr<DialogView> QtViewFactory::CreateCompletionView(WindowEvents& events) {
  return std::make_unique<QtCompletionView>(events);
}

std::unique_ptr<SplashView> QtViewFactory::CreateSplashView() {
  return std::make_unique<QtSplashView>();
}

void QtViewFactory::ShowAbout(WindowHandle* owner) {
  AboutBox about(WidgetOf(owner));
  about.exec();
}

void QtViewFactory::ShowHelpWindow(WindowHandle* owner, const std::string& documentPath) {
  // A window over the owner takes input while the owner runs modally; one over another window
  // moves over this owner.
  QWidget* parent = WidgetOf(owner);
  if (!help_) {
    help_ = new HelpWindow(parent);
    help_->setAttribute(Qt::WA_DeleteOnClose);
  } else if (help_->parentWidget() != parent) {
    help_->setParent(parent, help_->windowFlags());
  }
  help_->ShowDocument(QString::fromStdString(documentPath));
  help_->show();
  help_->raise();
  help_->activateWindow();
}

}  // namespace tarnwick::qt
