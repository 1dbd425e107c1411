// What the views report to their windows and what they show when told: commands from buttons and
// menus, the close box and keys left to the window, paints after every request, the modal loop,
// labels and bars, and the preview that keeps right clicks to itself.
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

#include "bitmap_button.h"
#include "control_ids.h"
#include "focus_ring.h"
#include "qt_analysis_view.h"
#include "qt_main_window_view.h"
#include "qt_preview_view.h"
#include "recording_events.h"
#include "skinned_area.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using tarnwick::test::Control;
using tarnwick::test::MenuItem;
using tarnwick::test::RecordingEvents;

class ViewEventsTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void buttonsAndMenuItemsReportTheirIds() {
    RecordingEvents events;
    QtMainWindowView view(events);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTest::mouseClick(Control(view.ClientArea(), ids::kRepair), Qt::LeftButton);
    QTest::mouseClick(Control(view.ClientArea(), ids::kToolbarOpen), Qt::LeftButton);
    MenuItem(&view, ids::kMenuContents)->trigger();
    view.EnableMenuItem(ids::kMenuSaveAll, false);
    QVERIFY(!MenuItem(&view, ids::kMenuSaveAll)->isEnabled());
    MenuItem(&view, ids::kMenuSaveAll)->trigger();  // a grayed item does nothing
    QCOMPARE(events.commands, std::vector<int>({ids::kRepair, ids::kToolbarOpen,
                                                ids::kMenuContents}));
    // A disabled button takes no click.
    view.EnableControl(ids::kRepair, false);
    QTest::mouseClick(Control(view.ClientArea(), ids::kRepair), Qt::LeftButton);
    QCOMPARE(events.commands.size(), 3u);
  }

  void closeBoxAndKeysAreLeftToTheWindow() {
    RecordingEvents events;
    QtAnalysisView view(events);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(!view.close());
    QCOMPARE(events.closes, 1);
    QVERIFY(view.isVisible());
    // Escape reaches the window even from a focused button, and does not end the dialog.
    Control(view.ClientArea(), ids::kAnalysisPause)->setFocus();
    QTest::keyClick(Control(view.ClientArea(), ids::kAnalysisPause), Qt::Key_Escape);
    QTest::keyClick(&view, Qt::Key_F1);
    QCOMPARE(events.keys, std::vector<Key>({Key::kEscape, Key::kF1}));
    QVERIFY(view.isVisible());
    QCOMPARE(view.result(), 0);
    QVERIFY(events.commands.empty());
  }

  void everyInvalidateRunsThePaintLogic() {
    RecordingEvents events;
    QtAnalysisView view(events);
    // Hidden, and three requests before the loop runs: Qt would paint once or not at all.
    view.Invalidate();
    view.Invalidate();
    view.Invalidate();
    QCOMPARE(events.paints, 0);
    QTRY_COMPARE(events.paints, 3);
  }

  void modalRunEndsOnlyWithEndModal() {
    RecordingEvents events;
    QtAnalysisView view(events);
    QTimer::singleShot(0, &view, [&] {
      QVERIFY(view.isVisible());
      QCOMPARE(view.windowModality(), Qt::ApplicationModal);
      // Hiding a running window keeps its loop, as the main window's does under the preview.
      view.Hide();
      view.Show();
      QTimer::singleShot(0, &view, [&] { view.EndModal(DialogResult::kOk); });
    });
    QCOMPARE(view.RunModal(), DialogResult::kOk);
    QVERIFY(!view.isVisible());
    QTimer::singleShot(0, &view, [&] { view.EndModal(DialogResult::kCancel); });
    QCOMPARE(view.RunModal(), DialogResult::kCancel);
  }

  void labelsProgressAndTitleShowWhatTheyAreTold() {
    RecordingEvents events;
    QtAnalysisView view(events);
    view.SetTitle(" Tarnwick for Adobe PDF");
    view.SetText(ids::kAnalysisStepLabel, "( Step 2 / 2 )");
    view.SetProgress(ids::kAnalysisProgress, 42);
    ButtonLook resume;
    resume.caption = "Resume";
    resume.tooltip = "Resume";
    view.SetButtonLook(ids::kAnalysisPause, resume);
    QCOMPARE(view.windowTitle(), QString(" Tarnwick for Adobe PDF"));
    QCOMPARE(qobject_cast<QLabel*>(Control(view.ClientArea(), ids::kAnalysisStepLabel))->text(),
             QString("( Step 2 / 2 )"));
    QCOMPARE(qobject_cast<QProgressBar*>(Control(view.ClientArea(), ids::kAnalysisProgress))
                 ->value(),
             42);
    auto* pause = qobject_cast<BitmapButton*>(Control(view.ClientArea(), ids::kAnalysisPause));
    QCOMPARE(pause->text(), QString("Resume"));
    QCOMPARE(pause->toolTip(), QString("Resume"));
  }

  void previewSwallowsRightClicksEverywhere() {
    RecordingEvents events;
    QtPreviewView view(events);
    view.Pane(ids::kFirstPane).Place(215, 120, 500, 271);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    int contextMenus = 0;
    auto* pane = Control(view.ClientArea(), ids::kFirstPane);
    pane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pane, &QWidget::customContextMenuRequested, this, [&] { ++contextMenus; });
    auto* back = Control(view.ClientArea(), ids::kBack);
    QTest::mouseClick(back, Qt::RightButton);
    QTest::mouseClick(back, Qt::LeftButton);
    QTest::mouseDClick(pane, Qt::RightButton);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(10, 10), pane->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(pane, &menu);
    QCOMPARE(contextMenus, 0);
    QCOMPARE(events.commands, std::vector<int>({ids::kBack}));
  }
};

QTEST_MAIN(ViewEventsTest)
#include "view_events_test.moc"
