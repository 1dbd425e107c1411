#include "pdf_pane.h"

#include <QFile>
#include <QPdfDocument>

#include "app_texts.h"

namespace tarnwick::qt {
namespace {

std::string WithoutToolbarFragment(const std::string& address) {
  const std::string fragment = ui::kNoToolbar;
  return address.ends_with(fragment) ? address.substr(0, address.size() - fragment.size())
                                     : address;
}

}  // namespace

PdfPane::PdfPane(PreviewEvents& events, QWidget* parent)
    : QPdfView(parent), events_(events), document_(new QPdfDocument(this)) {
  setDocument(document_);
  setPageMode(QPdfView::PageMode::MultiPage);
  setZoomMode(QPdfView::ZoomMode::FitToWidth);
}

PdfPane::~PdfPane() {
  // The document reads from the buffer until it is closed.
  document_->close();
}

bool PdfPane::Navigate(const std::string& address) {
  document_->close();
  buffer_.close();
  bytes_.clear();
  shownFile_.clear();
  if (address != ui::kBlankPage) {
    shownFile_ = QString::fromStdString(WithoutToolbarFragment(address));
    QFile file(shownFile_);
    if (file.open(QIODevice::ReadOnly)) bytes_ = file.readAll();
    LoadBytes();
  }
  CompleteNavigation();
  return true;
}

bool PdfPane::Refresh() {
  document_->close();
  buffer_.close();
  LoadBytes();
  return true;
}

void PdfPane::LoadBytes() {
  if (bytes_.isEmpty()) return;
  buffer_.setBuffer(&bytes_);
  buffer_.open(QIODevice::ReadOnly);
  document_->load(&buffer_);
}

void PdfPane::CompleteNavigation() {
  QMetaObject::invokeMethod(this, [this] { events_.OnNavigationComplete(); },
                            Qt::QueuedConnection);
}

void PdfPane::Place(int x, int y, int width, int height) {
  setGeometry(x, y, width, height);
  setVisible(width > 0 && height > 0);
}

}  // namespace tarnwick::qt
