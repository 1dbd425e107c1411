// What the views report to their windows and what they show when told: commands from buttons and
// menus, the close box and keys left to the window, paints after every request, the modal loop,
// the file table's selection mark, skins and bitmap buttons, the keyboard (Enter, access keys,
// Ctrl+O, the visible focus) and the program's own help window.
#include <QAction>
#include <QFocusFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "bitmap_button.h"
#include "control_ids.h"
#include "file_table.h"
#include "focus_ring.h"
#include "help_window.h"
#include "qt_analysis_view.h"
#include "qt_completion_view.h"
#include "qt_main_window_view.h"
#include "qt_preview_view.h"
#include "qt_view_factory.h"
#include "recording_events.h"
#include "skinned_area.h"
#include "temp_folder.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using tarnwick::test::Control;
using tarnwick::test::RecordingEvents;

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 200, 0};
constexpr Rgb kKey{189, 230, 231};

QColor ColourOf(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QAction* MenuItem(QWidget* window, int id) {
  return window->findChild<QMenuBar*>()->findChild<QAction*>(QString::number(id));
}

// Shows the window and makes it the active one, as the user's keys need.
bool ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  return QTest::qWaitForWindowActive(window);
}

// The menu whose title is shown as `title`, its access key's ampersand left out.
QMenu* MenuTitled(QWidget* window, const QString& title) {
  for (QAction* menu : window->findChild<QMenuBar*>()->actions()) {
    if (QString(menu->text()).remove('&') == title) return menu->menu();
  }
  return nullptr;
}

}  // namespace

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
