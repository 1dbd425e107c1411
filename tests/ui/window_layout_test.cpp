// Each window's controls as the templates lay them out: ids as object names, texts, positions in
// pixels of the converted dialog units, the file table, the menus and the order of the Tab key.
#include <QAbstractButton>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include "control_ids.h"
#include "file_table.h"
#include "qt_analysis_view.h"
#include "qt_completion_view.h"
#include "qt_main_window_view.h"
#include "qt_preview_view.h"
#include "qt_saving_view.h"
#include "recording_events.h"
#include "skinned_area.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using tarnwick::test::Control;
using tarnwick::test::RecordingEvents;

namespace {

struct Expected {
  int id;
  QString text;
  QRect pixels;
};

QString TextOf(QWidget* control) {
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
  return {};
}

void CheckControls(QtDialogView& view, const std::vector<Expected>& controls) {
  for (const Expected& expected : controls) {
    QWidget* control = Control(view.ClientArea(), expected.id);
    QVERIFY2(control, qPrintable(QString("no control %1").arg(expected.id)));
    QCOMPARE(TextOf(control), expected.text);
    QCOMPARE(control->geometry(), expected.pixels);
  }
}

// The static label with exactly this text, at this place.
void CheckStatic(QtDialogView& view, const QString& text, QPoint topLeft) {
  for (QLabel* label : view.ClientArea()->findChildren<QLabel*>()) {
    if (label->text() == text) {
      QCOMPARE(label->pos(), topLeft);
      QVERIFY(!label->autoFillBackground());
      return;
    }
  }
  QFAIL(qPrintable("no label \"" + text + "\""));
}

void CheckProgressBar(QtDialogView& view, int id, QRect pixels) {
  auto* bar = qobject_cast<QProgressBar*>(Control(view.ClientArea(), id));
  QVERIFY(bar);
  QCOMPARE(bar->geometry(), pixels);
  QCOMPARE(bar->minimum(), 0);
  QCOMPARE(bar->maximum(), 100);
}

// The menu as [menu title, item text, id] in order.
std::vector<std::tuple<QString, QString, int>> MenuOf(QWidget* window) {
  std::vector<std::tuple<QString, QString, int>> items;
  auto* bar = window->findChild<QMenuBar*>();
  if (!bar) return items;
  for (QAction* menu : bar->actions()) {
    for (QAction* item : menu->menu()->actions()) {
      // As shown: the access key's ampersand is an underline, not a character.
      items.emplace_back(QString(menu->text()).remove('&'), item->text(),
                         item->objectName().toInt());
    }
  }
  return items;
}

// The object names of the controls that Tab visits, in order, starting at the first one.
QStringList TabOrder(QtDialogView& view, int first) {
  QStringList order;
  QWidget* start = Control(view.ClientArea(), first);
  QWidget* widget = start;
  do {
    if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != start);
  return order;
}

}  // namespace

class WindowLayoutTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void mainWindowControls() {
    RecordingEvents events;
    QtMainWindowView view(events);
    QCOMPARE(view.ClientArea()->size(), QSize(726, 471));
    CheckControls(view, {{ids::kToolbarOpen, "", {2, 2, 51, 45}},
                         {ids::kToolbarSaveCurrent, "", {51, 2, 51, 45}},
                         {ids::kToolbarExit, "", {243, 2, 51, 45}},
                         {ids::kBrowse, "Browse", {638, 124, 85, 22}},
                         {ids::kClearSelected, "Clear selected", {632, 241, 91, 22}},
                         {ids::kClearAll, "Clear All", {632, 276, 91, 23}},
                         {ids::kRepair, "Repair", {638, 437, 85, 23}}});
    CheckStatic(view, "Select File(s)    :", {225, 89});
    QCOMPARE(Control(view.ClientArea(), ids::kFileTable)->geometry(), QRect(224, 124, 400, 175));
    QCOMPARE(TabOrder(view, ids::kToolbarOpen),
             QStringList({"1040", "1041", "1042", "1043", "1044", "1045", "1000", "1001", "1026",
                          "1002", "1005"}));
  }

  void fileTableIsAReportWithTwoColumns() {
    RecordingEvents events;
    QtMainWindowView view(events);
    QTableWidget* table = view.Table();
    QCOMPARE(table->columnCount(), 2);
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QString(" File No."));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QString(" File Name"));
    QCOMPARE(table->columnWidth(0), 60);
    // The path column fills the rest of the table, so that no scroll bar hides the file names.
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(table->columnWidth(0) + table->columnWidth(1), table->viewport()->width());
    QVERIFY(!table->horizontalScrollBar()->isVisible());
    QVERIFY(table->showGrid());
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(table->verticalHeader()->isHidden());
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
  }

  void mainAndPreviewShareTheMenu() {
    const std::vector<std::tuple<QString, QString, int>> expected = {
        {"File", "Select Source File", 32771}, {"File", "Save Current File", 32775},
        {"File", "Save All  File", 32776},     {"File", "Exit", 32777},
        {"Help", "About Us", 32785},           {"Help", "Contents", 32786}};
    RecordingEvents events;
    QtMainWindowView main(events);
    QtPreviewView preview(events);
    QCOMPARE(MenuOf(&main), expected);
    QCOMPARE(MenuOf(&preview), expected);
    // The menu lies above the client area, whose origin the layouts are measured from.
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(main.ClientArea()->y() >= main.findChild<QMenuBar*>()->sizeHint().height());
  }

  void analysisDialogControls() {
    RecordingEvents events;
    QtAnalysisView view(events);
    QCOMPARE(view.windowTitle(), QString("Analysis"));
    QCOMPARE(view.ClientArea()->size(), QSize(321, 158));
    CheckControls(view, {{ids::kAnalysisStop, "Stop", {75, 119, 83, 22}},
                         {ids::kAnalysisPause, "Pause", {164, 120, 82, 23}},
                         {ids::kAnalysisStepLabel, "Static", {30, 39, 54, 13}}});
    CheckStatic(view, "Analysis is in Progress, Please  wait .....", {86, 39});
    CheckProgressBar(view, ids::kAnalysisProgress, {30, 59, 257, 19});
    QVERIFY(!view.findChild<QMenuBar*>());
    QCOMPARE(TabOrder(view, ids::kAnalysisStop), QStringList({"1026", "1027"}));
  }

  void completionDialogControls() {
    RecordingEvents events;
    QtCompletionView view(events);
    QCOMPARE(view.ClientArea()->size(), QSize(279, 119));
    CheckControls(view, {{ids::kCompletionOk, "OK", {108, 89, 60, 23}}});
    CheckStatic(view, "Process completed successfully.", {57, 41});
  }

  void savingDialogControls() {
    RecordingEvents events;
    QtSavingView view(events);
    QCOMPARE(view.windowTitle(), QString("File Saving"));
    QCOMPARE(view.ClientArea()->size(), QSize(522, 314));
    CheckControls(view, {{ids::kSavingFileName, "", {99, 23, 402, 26}},
                         {ids::kSavingStop, "Stop", {179, 268, 75, 23}},
                         {ids::kSavingPause, "Pause", {284, 268, 75, 23}}});
    for (int id : {ids::kSavingFileIndex, ids::kFileNumber, ids::kSavingFolder,
                   ids::kSavingStepLabel}) {
      QVERIFY(qobject_cast<QLabel*>(Control(view.ClientArea(), id)));
    }
    CheckStatic(view, "File Name  :", {38, 21});
    CheckStatic(view, "File Count :", {38, 57});
    CheckStatic(view, "File Path   :", {38, 86});
    CheckStatic(view, "Current Progress", {42, 133});
    CheckStatic(view, "Overall Progress", {42, 192});
    CheckProgressBar(view, ids::kCurrentProgress, {96, 154, 332, 17});
    CheckProgressBar(view, ids::kOverallProgress, {96, 213, 332, 16});
    QCOMPARE(TabOrder(view, ids::kSavingStop), QStringList({"1022", "1023"}));
  }

  void previewWindowControls() {
    RecordingEvents events;
    QtPreviewView view(events);
    QCOMPARE(view.windowTitle(), QString("Preview"));
    QCOMPARE(view.ClientArea()->size(), QSize(726, 471));
    CheckControls(view, {{ids::kToolbarOpen, "", {2, 5, 51, 45}},
                         {ids::kToolbarExit, "", {233, 5, 51, 45}},
                         {ids::kSourcePath, "", {288, 78, 419, 29}},
                         {ids::kBackFile, "Back File", {375, 401, 92, 23}},
                         {ids::kNextFile, "Next File", {471, 401, 92, 23}},
                         {ids::kBack, "Back", {216, 436, 86, 22}},
                         {ids::kSaveCurrentButton, "Save Current File", {503, 436, 109, 22}},
                         {ids::kSaveAllButton, "Save All", {614, 436, 109, 22}}});
    CheckStatic(view, "Source File  :", {218, 78});
    CheckStatic(view, " File Number :", {216, 401});
    CheckStatic(view, "/", {296, 401});
    // Both panes wait hidden until the window places one of them.
    QVERIFY(Control(view.ClientArea(), ids::kFirstPane)->isHidden());
    QVERIFY(Control(view.ClientArea(), ids::kSecondPane)->isHidden());
    QCOMPARE(view.WindowBottomInClient(), 471);
  }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
