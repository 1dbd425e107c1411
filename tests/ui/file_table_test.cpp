// The main window's file table: its selection mark, and file names kept in view.
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include "file_table.h"
#include "qt_main_window_view.h"
#include "recording_events.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using tarnwick::test::ShowActive;
using tarnwick::test::RecordingEvents;

class FileTableTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void selectionMarkSurvivesAppendedRowsOnly() {
    RecordingEvents events;
    QtMainWindowView view(events);
    QTableWidget* table = view.Table();
    view.SetFileRows({"/a.pdf", "/b.pdf"});
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(1, 0)->text(), QString("2"));
    QCOMPARE(table->item(1, 1)->text(), QString("/b.pdf"));
    QCOMPARE(view.SelectionMark(), -1);
    table->selectRow(1);
    table->clearSelection();  // no longer highlighted, still marked
    QCOMPARE(view.SelectionMark(), 1);
    view.SetFileRows({"/a.pdf", "/b.pdf", "/c.pdf"});
    QCOMPARE(view.SelectionMark(), 1);
    QCOMPARE(table->item(2, 0)->text(), QString("3"));
    view.SetFileRows({"/b.pdf", "/c.pdf"});
    QCOMPARE(view.SelectionMark(), -1);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QString("1"));
    QCOMPARE(table->item(0, 1)->text(), QString("/b.pdf"));
  }

  void fileTableKeepsFileNamesInViewAndNeverScrollsSideways() {
    RecordingEvents events;
    QtMainWindowView main(events);
    QVERIFY(ShowActive(&main));
    FileTable* table = main.Table();
    const QString deep = "/home/user/" + QString("folder/").repeated(20) + "name.pdf";
    main.SetFileRows({"/a.pdf", deep.toStdString()});
    QVERIFY(!table->horizontalScrollBar()->isVisible());
    // A path wider than its column shows its end after an ellipsis, its whole self as tooltip.
    const QRect cell = table->visualRect(table->model()->index(1, 1));
    QVERIFY(table->fontMetrics().horizontalAdvance(deep) > cell.width());
    QVERIFY(cell.right() < table->viewport()->width());
    QCOMPARE(table->textElideMode(), Qt::ElideLeft);
    QCOMPARE(table->item(1, 1)->toolTip(), deep);
    QCOMPARE(table->item(0, 1)->toolTip(), QString("/a.pdf"));

    // Only columns made wider than the table bring the scroll bar; a click or a key that moves
    // to another row then leaves the view where the user scrolled it.
    table->setColumnWidth(0, 600);
    QTRY_VERIFY(table->horizontalScrollBar()->isVisible());
    table->horizontalScrollBar()->setValue(150);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(main.SelectionMark(), 0);
    QCOMPARE(table->horizontalScrollBar()->value(), 150);
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(main.SelectionMark(), 1);
    QCOMPARE(table->horizontalScrollBar()->value(), 150);
  }
};

QTEST_MAIN(FileTableTest)
#include "file_table_test.moc"
