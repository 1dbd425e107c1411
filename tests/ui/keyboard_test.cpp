// The keyboard: Enter on the focused and the default button, access keys of the menus, Ctrl+O,
// and the focus that shows on every control.
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "bitmap_button.h"
#include "control_ids.h"
#include "file_table.h"
#include "focus_ring.h"
#include "qt_completion_view.h"
#include "qt_main_window_view.h"
#include "qt_preview_view.h"
#include "recording_events.h"
#include "skinned_area.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using namespace tarnwick::test;

class KeyboardTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void enterPressesTheFocusedButtonAndTheDefaultOne() {
    RecordingEvents events;
    QtMainWindowView main(events);
    QVERIFY(ShowActive(&main));
    for (const int id : {ids::kRepair, ids::kToolbarOpen}) {
      Control(main.ClientArea(), id)->setFocus(Qt::TabFocusReason);
      QTest::keyClick(Control(main.ClientArea(), id), Qt::Key_Return);
      QTest::keyClick(Control(main.ClientArea(), id), Qt::Key_Enter, Qt::KeypadModifier);
      QTest::keyClick(Control(main.ClientArea(), id), Qt::Key_Space);
    }
    QCOMPARE(events.commands,
             std::vector<int>({ids::kRepair, ids::kRepair, ids::kRepair, ids::kToolbarOpen,
                               ids::kToolbarOpen, ids::kToolbarOpen}));
    // The main window has no default button: Enter in the file table presses nothing.
    main.Table()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(main.Table(), Qt::Key_Return);
    QCOMPARE(events.commands.size(), 6u);

    // The completion dialog's OK takes Enter from wherever the focus is.
    RecordingEvents completionEvents;
    QtCompletionView completion(completionEvents);
    QVERIFY(ShowActive(&completion));
    QTest::keyClick(&completion, Qt::Key_Return);
    QCOMPARE(completionEvents.commands, std::vector<int>({ids::kCompletionOk}));
    completion.EnableControl(ids::kCompletionOk, false);
    QTest::keyClick(&completion, Qt::Key_Return);
    QCOMPARE(completionEvents.commands.size(), 1u);
  }

  void menusOpenWithAccessKeysAndCtrlOPicksFiles() {
    RecordingEvents events;
    QtMainWindowView main(events);
    QVERIFY(ShowActive(&main));
    for (const auto& [title, key] :
         {std::pair{QString("File"), Qt::Key_F}, std::pair{QString("Help"), Qt::Key_H}}) {
      QMenu* menu = MenuTitled(&main, title);
      QVERIFY(menu);
      QCOMPARE(QKeySequence::mnemonic(menu->title()), QKeySequence(Qt::ALT | key));
      QTest::keyClick(&main, key, Qt::AltModifier);
      QTRY_VERIFY(menu->isVisible());
      menu->hide();
    }
    QTest::keyClick(&main, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(events.commands, std::vector<int>({ids::kMenuSelectSource}));

    // The preview grays Select Source File, and with it the key.
    RecordingEvents previewEvents;
    QtPreviewView preview(previewEvents);
    preview.EnableMenuItem(ids::kMenuSelectSource, false);
    QVERIFY(ShowActive(&preview));
    QTest::keyClick(&preview, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(previewEvents.commands.empty());
  }

  void keyboardFocusShowsOnEveryControl() {
    QTemporaryDir folder;
    const std::string picture = folder.filePath("button.bmp").toStdString();
    test::WriteBitmap(picture, test::FramedImage(40, 16, kGreen, kGreen, 0));
    RecordingEvents events;
    QtMainWindowView main(events);
    main.SetButtonLook(ids::kRepair, {.caption = "Repair",
                                      .normalBitmap = picture,
                                      .hoverBitmap = picture,
                                      .normalTransparent = kKey,
                                      .hoverTransparent = kKey,
                                      .tooltip = "Repair"});
    QVERIFY(ShowActive(&main));
    auto* repair = Control(main.ClientArea(), ids::kRepair);
    const QPoint edge(0, repair->height() / 2);
    main.Table()->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(main.Focus().Framed(), static_cast<QWidget*>(main.Table()));
    const QImage unfocused = repair->grab().toImage();
    repair->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(repair->hasFocus());
    // The bitmap button draws its own frame; the ring leaves it alone.
    QCOMPARE(main.Focus().Framed(), nullptr);
    const QImage focused = repair->grab().toImage();
    QVERIFY(focused.pixelColor(edge) != unfocused.pixelColor(edge));
    QVERIFY(focused.pixelColor(edge) == QColor(Qt::black) ||
            focused.pixelColor(edge) == QColor(Qt::white));
    QCOMPARE(focused.pixelColor(repair->width() / 2, repair->height() / 2), ColourOf(kGreen));
  }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
