// How the skins are drawn: the background picture at the origin in its own size, and bitmap
// buttons without their transparent colour.
#include <QTemporaryDir>
#include <QtTest>

#include "bitmap_button.h"
#include "control_ids.h"
#include "qt_analysis_view.h"
#include "recording_events.h"
#include "skinned_area.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using namespace tarnwick::test;

class SkinDrawingTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void backgroundIsDrawnAtTheOriginInItsOwnSize() {
    QTemporaryDir folder;
    const std::string path = folder.filePath("Browse.bmp").toStdString();
    test::WriteBitmap(path, test::FramedImage(12, 10, kRed, kRed, 0));
    RecordingEvents events;
    QtAnalysisView view(events);
    view.SetBackground(path);
    const QImage drawn = view.ClientArea()->grab().toImage();
    QCOMPARE(drawn.pixelColor(0, 0), ColourOf(kRed));
    QCOMPARE(drawn.pixelColor(11, 9), ColourOf(kRed));
    QVERIFY(drawn.pixelColor(12, 5) != ColourOf(kRed));
    QVERIFY(drawn.pixelColor(5, 10) != ColourOf(kRed));
    view.SetBackground(folder.filePath("missing.bmp").toStdString());
    QVERIFY(view.ClientArea()->Picture().isNull());
  }

  void bitmapButtonLeavesItsTransparentColourOut() {
    QTemporaryDir folder;
    const std::string normal = folder.filePath("normal.bmp").toStdString();
    const std::string hover = folder.filePath("hover.bmp").toStdString();
    const std::string skin = folder.filePath("skin.bmp").toStdString();
    // 20 × 20 pictures with a 5-pixel frame in the key colour of each.
    test::WriteBitmap(normal, test::FramedImage(20, 20, kRed, Rgb{2, 2, 2}, 5));
    test::WriteBitmap(hover, test::FramedImage(20, 20, kGreen, kKey, 5));
    test::WriteBitmap(skin, test::FramedImage(400, 300, kBlue, kBlue, 0));
    RecordingEvents events;
    QtAnalysisView view(events);
    view.SetBackground(skin);
    view.SetButtonLook(ids::kAnalysisStop, {.caption = "Stop",
                                            .normalBitmap = normal,
                                            .hoverBitmap = hover,
                                            .normalTransparent = Rgb{2, 2, 2},
                                            .hoverTransparent = kKey,
                                            .tooltip = "Stop"});
    auto* button = qobject_cast<BitmapButton*>(Control(view.ClientArea(), ids::kAnalysisStop));
    button->resize(20, 20);
    const QPoint at = button->pos();
    QCOMPARE(test::ClientPixel(view.ClientArea(), at + QPoint(10, 10)), ColourOf(kRed));
    QCOMPARE(test::ClientPixel(view.ClientArea(), at + QPoint(2, 2)), ColourOf(kBlue));
    QCOMPARE(button->accessibleName(), QString("Stop"));
    QCOMPARE(button->toolTip(), QString("Stop"));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(button, &enter);
    QVERIFY(button->Hovered());
    QCOMPARE(test::ClientPixel(view.ClientArea(), at + QPoint(10, 10)), ColourOf(kGreen));
    QCOMPARE(test::ClientPixel(view.ClientArea(), at + QPoint(2, 17)), ColourOf(kBlue));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    QCOMPARE(test::ClientPixel(view.ClientArea(), at + QPoint(10, 10)), ColourOf(kRed));
  }
};

QTEST_MAIN(SkinDrawingTest)
#include "skin_drawing_test.moc"
