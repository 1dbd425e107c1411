// The window services of the platform layer on Qt: the window thread (posted tasks, blocking
// calls from workers, waits, timed tasks), message boxes and the two pickers.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>

#include "qt_analysis_view.h"
#include "qt_message_boxes.h"
#include "qt_pickers.h"
#include "qt_window_thread.h"
#include "recording_events.h"
#include "temp_folder.h"
#include "ui_test_environment.h"

using namespace tarnwick;
using namespace tarnwick::qt;
using tarnwick::test::RecordingEvents;

namespace {

// Runs `answer` on the modal window of the given type as soon as it is open, and again until it
// has closed: a file dialog may not take a selection before it has read its folder.
template <typename Modal>
void WhenOpen(std::function<void(Modal*)> answer) {
  auto* poll = new QTimer(qApp);
  auto answered = std::make_shared<std::optional<QPointer<Modal>>>();
  QObject::connect(poll, &QTimer::timeout, qApp, [poll, answer, answered] {
    auto* modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
    if (answered->has_value() && modal != **answered) {
      poll->stop();
      poll->deleteLater();
    } else if (modal) {
      *answered = modal;
      answer(modal);
    }
  });
  poll->start(10);
}

}  // namespace

class WindowServicesTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { test::PrepareUiTestEnvironment(); }

 private slots:
  void workersCallIntoTheWindowThreadAndWaitForIt() {
    QtWindowThread windowThread;
    const std::thread::id windowThreadId = std::this_thread::get_id();
    std::atomic<bool> ranOnWindowThread = false;
    std::atomic<bool> returned = false;
    std::vector<int> order;
    std::thread worker([&] {
      windowThread.Post([&] { order.push_back(1); });
      int value = 0;
      windowThread.CallFromWorker([&] {
        ranOnWindowThread = std::this_thread::get_id() == windowThreadId;
        order.push_back(2);
        value = 42;
      });
      // The call has returned only after the task ran: its result is there.
      returned = value == 42;
    });
    QTRY_VERIFY(returned);
    worker.join();
    QVERIFY(ranOnWindowThread);
    QCOMPARE(order, std::vector<int>({1, 2}));
    // On the window thread itself the call runs at once instead of waiting for itself.
    bool direct = false;
    windowThread.CallFromWorker([&] { direct = true; });
    QVERIFY(direct);
  }

  void waitKeepsWindowsPaintedAndTasksRunning() {
    QtWindowThread windowThread;
    RecordingEvents events;
    QtAnalysisView view(events);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    std::atomic<bool> workerCalledIn = false;
    std::thread worker([&] {
      windowThread.CallFromWorker([&] { view.Invalidate(); });
      workerCalledIn = true;
    });
    QElapsedTimer clock;
    clock.start();
    windowThread.Wait(300);
    QVERIFY(clock.elapsed() >= 300);
    worker.join();
    // The worker's call and the paint it asked for were served during the wait.
    QVERIFY(workerCalledIn);
    QCOMPARE(events.paints, 1);
  }

  void timedTasksRunLaterWithoutHoldingTheWindowThread() {
    QtWindowThread windowThread;
    QElapsedTimer clock;
    clock.start();
    qint64 ranAfter = -1;
    windowThread.PostAfter(200, [&] { ranAfter = clock.elapsed(); });
    QVERIFY(clock.elapsed() < 200);
    QCOMPARE(ranAfter, -1);
    QTRY_VERIFY(ranAfter >= 0);
    QVERIFY(ranAfter >= 200);
  }

  void questionsShowTextCaptionButtonsIconAndOwner() {
    QtMessageBoxes boxes;
    RecordingEvents events;
    QtAnalysisView owner(events);
    owner.show();
    WhenOpen<QMessageBox>([&owner](QMessageBox* box) {
      QCOMPARE(box->text(), QString("Do you want to exit ? "));
      QCOMPARE(box->windowTitle(), QString("Tarnwick for Adobe PDF"));
      QCOMPARE(box->icon(), QMessageBox::Question);
      QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
      QCOMPARE(box->parentWidget(), &owner);
      QCOMPARE(box->windowModality(), Qt::ApplicationModal);
      QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      box->button(QMessageBox::No)->click();
    });
    const MessageAnswer answer = boxes.Show({.text = "Do you want to exit ? ",
                                             .caption = "Tarnwick for Adobe PDF",
                                             .buttons = MessageButtons::kYesNo,
                                             .icon = MessageIcon::kQuestion,
                                             .systemModal = true,
                                             .owner = &owner});
    QCOMPARE(answer, MessageAnswer::kNo);
  }

  void noticesAskedFromAWorkerRunOnTheWindowThread() {
    QtMessageBoxes boxes;
    QtWindowThread windowThread;
    WhenOpen<QMessageBox>([](QMessageBox* box) {
      QCOMPARE(box->text(), QString("Process is aborted by user."));
      QCOMPARE(box->icon(), QMessageBox::Information);
      QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
      QVERIFY(!box->parentWidget());
      QVERIFY(!box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      box->button(QMessageBox::Ok)->click();
    });
    std::atomic<bool> answered = false;
    std::thread worker([&] {
      MessageAnswer answer = MessageAnswer::kNo;
      windowThread.CallFromWorker([&] {
        answer = boxes.Show({.text = "Process is aborted by user.",
                             .caption = "Tarnwick for Adobe PDF",
                             .buttons = MessageButtons::kOk,
                             .icon = MessageIcon::kInformation,
                             .systemModal = false,
                             .owner = nullptr});
      });
      answered = answer == MessageAnswer::kOk;
    });
    QTRY_VERIFY(answered);
    worker.join();
  }

  void fileOpenDialogTakesExistingPdfFiles() {
    QTemporaryDir folder;
    test::WriteFile(folder.filePath("a.pdf").toStdString(), "%PDF-1.4\n");
    QtPickers pickers;
    WhenOpen<QFileDialog>([&folder](QFileDialog* dialog) {
      QCOMPARE(dialog->windowTitle(), QString(" Open Pdf files"));
      QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
      QCOMPARE(dialog->nameFilters(), QStringList({"Adobe Pdf Document (*.pdf *.PDF)"}));
      if (dialog->directory() != QDir(folder.path())) dialog->setDirectory(folder.path());
      // As a user would: the name typed into the dialog's name field.
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText("a.pdf");
      QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto picked = pickers.PickFiles({.owner = nullptr,
                                           .title = " Open Pdf files",
                                           .filterName = "Adobe Pdf Document",
                                           .patterns = {"*.pdf", "*.PDF"},
                                           .multipleSelection = true});
    QVERIFY(picked.has_value());
    QCOMPARE(*picked, std::vector<std::string>({folder.filePath("a.pdf").toStdString()}));

    WhenOpen<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QVERIFY(!pickers.PickFiles({.owner = nullptr,
                                .title = " Open Pdf files",
                                .filterName = "Adobe Pdf Document",
                                .patterns = {"*.pdf"},
                                .multipleSelection = true}));
  }

  void folderBrowserTakesExistingFolders() {
    QTemporaryDir folder;
    QtPickers pickers;
    WhenOpen<QFileDialog>([&folder](QFileDialog* dialog) {
      QCOMPARE(dialog->windowTitle(), QString("Select the Destination Path"));
      QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
      QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
      if (dialog->directory() != QDir(folder.path())) dialog->setDirectory(folder.path());
      QMetaObject::invokeMethod(dialog, "accept");
    });
    QCOMPARE(pickers.PickFolder(nullptr, "Select the Destination Path", {}),
             std::optional<std::string>(folder.path().toStdString()));
    WhenOpen<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QCOMPARE(pickers.PickFolder(nullptr, "Select the Destination Path", {}), std::nullopt);
  }
};

QTEST_MAIN(WindowServicesTest)
#include "window_services_test.moc"
