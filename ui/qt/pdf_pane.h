#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QPdfView>

#include "views.h"

class QPdfDocument;

namespace tarnwick::qt {

// A browser pane of the preview window that shows PDF files: the whole file is read into memory
// at each navigation, so no file handle outlives the call and the shown copy can be deleted at
// any time. The pages are fitted to the pane's width, one below the other, with scrolling. No
// viewer toolbar is ever shown, which is what the "#toolbar=0" fragment of an address asks for.
class PdfPane final : public QPdfView, public BrowserPane {
 public:
  PdfPane(PreviewEvents& events, QWidget* parent);
  ~PdfPane() override;

  // A file path, optionally followed by "#toolbar=0", or "about:blank" to show nothing. A file
  // that cannot be read or drawn leaves the pane empty. Every navigation is completed by a queued
  // OnNavigationComplete.
  bool Navigate(const std::string& address) override;
  // Draws the bytes of the current document again.
  bool Refresh() override;
  // A size of 0 × 0 hides the pane.
  void Place(int x, int y, int width, int height) override;

  QPdfDocument* Document() const { return document_; }
  // The file shown, without its fragment; empty after "about:blank".
  const QString& ShownFile() const { return shownFile_; }

 private:
  void LoadBytes();
  void CompleteNavigation();

  PreviewEvents& events_;
  QPdfDocument* document_;
  QByteArray bytes_;
  QBuffer buffer_;
  QString shownFile_;
};

}  // namespace tarnwick::qt
