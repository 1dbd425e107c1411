// The program's own help window: the document, its links and its search.
#include <QFocusFrame>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "focus_ring.h"
#include "help_window.h"
#include "qt_main_window_view.h"
#include "qt_view_factory.h"
#include "recording_events.h"
#include "temp_folder.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using tarnwick::test::ShowActive;
using tarnwick::test::RecordingEvents;

class HelpWindowTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void helpWindowShowsTheDocumentFollowsLinksAndFinds() {
    QTemporaryDir folder;
    const QString index = folder.filePath("index.html");
    test::WriteFile(index.toStdString(),
                    "<html><body><p>First page.</p><p><a href=\"more.html\">More</a></p>"
                    "<p>Pause holds the repair.</p><p>Resume holds nothing.</p></body></html>");
    test::WriteFile(folder.filePath("more.html").toStdString(),
                    "<html><body><p>Second page.</p></body></html>");
    RecordingEvents events;
    QtMainWindowView main(events);
    QtViewFactory views;
    views.ShowHelpWindow(&main, index.toStdString());
    auto* help = main.findChild<HelpWindow*>();
    QVERIFY(help);
    QVERIFY(help->isWindow());
    QCOMPARE(help->windowTitle(), QString("Help - Tarnwick for Adobe PDF"));
    QVERIFY(ShowActive(help));
    QTextBrowser* browser = help->Browser();
    QVERIFY(browser->toPlainText().contains("First page."));

    // The link, chosen with the keyboard, and Back.
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    QTRY_VERIFY(browser->toPlainText().contains("Second page."));
    auto* back = help->findChild<QPushButton*>("back");
    QVERIFY(back->isEnabled());
    back->click();
    QTRY_VERIFY(browser->toPlainText().contains("First page."));

    // Ctrl+F opens the find field; Enter selects what was typed, from the top again at the end.
    QVERIFY(!help->FindField()->isVisible());
    QTest::keyClick(browser, Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(help->FindField()->hasFocus());
    QCOMPARE(help->findChild<QFocusFrame*>()->widget(), static_cast<QWidget*>(help->FindField()));
    QTest::keyClicks(help->FindField(), "holds");
    QTest::keyClick(help->FindField(), Qt::Key_Return);
    QCOMPARE(browser->textCursor().selectedText(), QString("holds"));
    const int first = browser->textCursor().position();
    QTest::keyClick(help->FindField(), Qt::Key_Return);
    QVERIFY(browser->textCursor().position() > first);
    QTest::keyClick(help->FindField(), Qt::Key_Return);
    QCOMPARE(browser->textCursor().position(), first);

    // Asked again, the same window shows the document.
    views.ShowHelpWindow(&main, index.toStdString());
    QCOMPARE(main.findChildren<HelpWindow*>().size(), 1);

    // Escape closes the find field first, then the window.
    QPointer<HelpWindow> open = help;
    QTest::keyClick(help->FindField(), Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(help->FindField()->isVisible());
    QTest::keyClick(help->FindField(), Qt::Key_Escape);
    QVERIFY(!help->FindField()->isVisible());
    QVERIFY(help->isVisible());
    QTest::keyClick(browser, Qt::Key_Escape);
    QTRY_VERIFY(!open);
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
