// The preview's PDF pane: it shows a repaired copy's pages, completes every navigation (the blank
// page and unreadable files included) and keeps no file open once a navigation has returned.
#include <QDir>
#include <QPdfDocument>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "app_texts.h"
#include "control_ids.h"
#include "damaged_pdf.h"
#include "pdf_pane.h"
#include "qt_preview_view.h"
#include "recording_events.h"
#include "repair_harness.h"
#include "temp_folder.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using tarnwick::test::RecordingEvents;

namespace {

// Every file this process holds open, as /proc sees it.
QStringList OpenFiles() {
  QStringList files;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(entry.path(), error);
    if (!error) files << QString::fromStdString(target.string());
  }
  return files;
}

// Dark pixels of the page's picture: text was drawn.
int DarkPixels(const QImage& image) {
  int dark = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  }
  return dark;
}

}  // namespace

class PdfPaneTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void init() {
    events_ = std::make_unique<RecordingEvents>();
    view_ = std::make_unique<QtPreviewView>(*events_);
    pane_ = view_->PdfPaneOf(ids::kFirstPane);
    pane_->Place(215, 120, 500, 271);
    view_->show();
    QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
  }
  void cleanup() {
    view_.reset();
    events_.reset();
  }

  void showsTheRepairedCopysPages() {
    const test::RepairRun repaired = test::RepairBytes(test::DamagedPdf("Shown", 3));
    QVERIFY(repaired.completed);
    QTemporaryDir folder;
    const QString copy = folder.filePath("copy of damaged.pdf");
    test::WriteFile(copy.toStdString(), repaired.output);

    QVERIFY(pane_->Navigate(copy.toStdString() + ui::kNoToolbar));
    QCOMPARE(pane_->ShownFile(), copy);
    QCOMPARE(pane_->Document()->status(), QPdfDocument::Status::Ready);
    QCOMPARE(pane_->Document()->pageCount(), 3);
    QCOMPARE(pane_->pageMode(), QPdfView::PageMode::MultiPage);
    QCOMPARE(pane_->zoomMode(), QPdfView::ZoomMode::FitToWidth);
    QVERIFY(DarkPixels(pane_->Document()->render(2, QSize(306, 396))) > 50);
    // The pages stand one below the other: three of them do not fit without scrolling.
    QTRY_VERIFY(pane_->verticalScrollBar()->maximum() > 0);
    QCOMPARE(events_->navigationsCompleted, 0);  // queued, not called from inside Navigate
    QTRY_COMPARE(events_->navigationsCompleted, 1);

    QVERIFY(!OpenFiles().contains(copy));
    // The shown copy can go at once, as the preview deletes it when it moves on.
    QVERIFY(QFile::remove(copy));
    QVERIFY(pane_->Refresh());
    QCOMPARE(pane_->Document()->pageCount(), 3);
  }

  void blankPageLetsGoOfTheDocumentAndCompletes() {
    const test::RepairRun repaired = test::RepairBytes(test::DamagedPdf("Blank", 1));
    QTemporaryDir folder;
    const QString copy = folder.filePath("copy.pdf");
    test::WriteFile(copy.toStdString(), repaired.output);
    pane_->Navigate(copy.toStdString() + ui::kNoToolbar);
    QVERIFY(pane_->Navigate(ui::kBlankPage));
    QCOMPARE(pane_->Document()->pageCount(), 0);
    QVERIFY(pane_->ShownFile().isEmpty());
    QTRY_COMPARE(events_->navigationsCompleted, 2);
  }

  void unreadableFilesShowAnEmptyPaneAndStillComplete() {
    QTemporaryDir folder;
    const QString garbage = folder.filePath("garbage.pdf");
    test::WriteFile(garbage.toStdString(), "this is no PDF at all");
    QVERIFY(pane_->Navigate(garbage.toStdString() + ui::kNoToolbar));
    QCOMPARE(pane_->Document()->pageCount(), 0);
    QVERIFY(pane_->Navigate(folder.filePath("missing.pdf").toStdString() + ui::kNoToolbar));
    QCOMPARE(pane_->Document()->pageCount(), 0);
    QTRY_COMPARE(events_->navigationsCompleted, 2);
    QVERIFY(!OpenFiles().contains(garbage));
  }

  void placingAtZeroSizeHidesThePane() {
    QVERIFY(pane_->isVisible());
    QCOMPARE(pane_->geometry(), QRect(215, 120, 500, 271));
    pane_->Place(215, 120, 0, 0);
    QVERIFY(!pane_->isVisible());
    view_->Pane(ids::kSecondPane).Place(215, 120, 500, 271);
    QVERIFY(view_->PdfPaneOf(ids::kSecondPane)->isVisible());
  }

 private:
  std::unique_ptr<RecordingEvents> events_;
  std::unique_ptr<QtPreviewView> view_;
  PdfPane* pane_ = nullptr;
};

QTEST_MAIN(PdfPaneTest)
#include "pdf_pane_test.moc"
