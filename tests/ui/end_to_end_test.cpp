// The whole desktop program through its real windows, in a child process of its own because the
// program ends the way it always does, with _exit. The child plays the user: it picks two damaged
// PDFs, repairs them, looks at the first copy, goes to the next file, saves all into a folder and
// confirms the completion dialog; it writes what it saw into a transcript. The parent checks the
// transcript, the exit code, the saved files (with qpdf), the activity log and the clean-up.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPdfDocument>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>
#include <unistd.h>

#include "app_context.h"
#include "application.h"
#include "bitmap_button.h"
#include "control_ids.h"
#include "damaged_pdf.h"
#include "file_table.h"
#include "pdf_pane.h"
#include "posix_process_services.h"
#include "qt_completion_view.h"
#include "qt_desktop.h"
#include "qt_main_window_view.h"
#include "qt_preview_view.h"
#include "skin_folder.h"
#include "skinned_area.h"
#include "temp_folder.h"

using namespace tarnwick;
using namespace tarnwick::qt;

namespace {

constexpr char kFolderVariable[] = "TARNWICK_END_TO_END_FOLDER";

// What the child saw, one line per observation, kept on disk as it goes.
class Transcript {
 public:
  explicit Transcript(const QString& path) : file_(path) {
    file_.open(QIODevice::WriteOnly | QIODevice::Append);
  }
  void Line(const QString& line) {
    file_.write(line.toUtf8() + '\n');
    file_.flush();
  }

 private:
  QFile file_;
};

// The user's answers: every message box is unexpected in this run, and is written down.
class TranscribedMessageBoxes final : public MessageBoxes {
 public:
  explicit TranscribedMessageBoxes(Transcript& transcript) : transcript_(transcript) {}
  MessageAnswer Show(const MessageBoxRequest& request) override {
    transcript_.Line("message box: " + QString::fromStdString(request.text));
    return request.buttons == MessageButtons::kOk ? MessageAnswer::kOk : MessageAnswer::kNo;
  }

 private:
  Transcript& transcript_;
};

class ScriptedPickers final : public Pickers {
 public:
  ScriptedPickers(std::vector<std::string> files, std::string folder, Transcript& transcript)
      : files_(std::move(files)), folder_(std::move(folder)), transcript_(transcript) {}
  std::optional<std::vector<std::string>> PickFiles(const OpenFilesRequest& request) override {
    transcript_.Line("open dialog: " + QString::fromStdString(request.title));
    return files_;
  }
  std::optional<std::string> PickFolder(WindowHandle*, const std::string& title,
                                        const std::string&) override {
    transcript_.Line("folder browser: " + QString::fromStdString(title));
    return folder_;
  }

 private:
  std::vector<std::string> files_;
  std::string folder_;
  Transcript& transcript_;
};

// The program's end: the transcript says so, then the process ends as the real one does.
class TranscribedProcessEnd final : public ProcessEnd {
 public:
  explicit TranscribedProcessEnd(Transcript& transcript) : transcript_(transcript) {}
  [[noreturn]] void EndProcess(int exitCode) override {
    transcript_.Line(QStringLiteral("program ended: %1").arg(exitCode));
    _exit(exitCode);
  }

 private:
  Transcript& transcript_;
};

template <typename View>
View* VisibleWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* view = dynamic_cast<View*>(widget); view && view->isVisible()) return view;
  }
  return nullptr;
}

QString LabelText(QtDialogView* view, int id) {
  auto* label = view->ClientArea()->findChild<QLabel*>(QString::number(id));
  return label ? label->text() : QString();
}

BitmapButton* ButtonOf(QtDialogView* view, int id) {
  return view->ClientArea()->findChild<BitmapButton*>(QString::number(id));
}

// Which skin bitmap a button shows, told by its colour.
QString BitmapShown(QtDialogView* view, int id) {
  return test::SkinNameOf(ButtonOf(view, id)->NormalImage());
}

// The user: steps that run once their window is there, one after the other.
class User {
 public:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  explicit User(std::deque<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { Poll(); });
    poll_.start(50);
  }

 private:
  void Poll() {
    if (steps_.empty() || !steps_.front().ready()) return;
    // Acting opens modal windows; the poll must go on meanwhile.
    QTimer::singleShot(0, &poll_, steps_.front().act);
    steps_.pop_front();
  }
  std::deque<Step> steps_;
  QTimer poll_;
};

int RunProgram(const QString& root) {
  Transcript transcript(root + "/transcript.txt");
  const std::string program = (root + "/program").toStdString();
  const std::string first = (root + "/sources/first.pdf").toStdString();
  const std::string second = (root + "/sources/second.pdf").toStdString();
  TranscribedProcessEnd process(transcript);
  TranscribedMessageBoxes messageBoxes(transcript);
  ScriptedPickers pickers({first, second}, (root + "/saved").toStdString(), transcript);
  QtDesktop desktop({.messageBoxes = &messageBoxes, .pickers = &pickers, .process = &process});
  AppContext app(desktop.Services(), desktop.Views());
  CZazoRavazuApp application(app);

  User user({
      {[] { return VisibleWindow<QtMainWindowView>() != nullptr; },
       [&] {
         auto* main = VisibleWindow<QtMainWindowView>();
         transcript.Line("main window: " + main->windowTitle());
         transcript.Line("open button: " + ButtonOf(main, ids::kToolbarOpen)->toolTip() + ", " +
                         BitmapShown(main, ids::kToolbarOpen));
         transcript.Line("clear all before: " + BitmapShown(main, ids::kClearAll));
         ButtonOf(main, ids::kBrowse)->click();
       }},
      {[] {
         auto* main = VisibleWindow<QtMainWindowView>();
         return main && main->Table()->rowCount() == 2;
       },
       [&] {
         auto* main = VisibleWindow<QtMainWindowView>();
         transcript.Line("rows: " + main->Table()->item(0, 1)->text() + " | " +
                         main->Table()->item(1, 1)->text());
         transcript.Line("clear all after: " + BitmapShown(main, ids::kClearAll));
         ButtonOf(main, ids::kRepair)->click();
       }},
      {[] {
         auto* preview = VisibleWindow<QtPreviewView>();
         return preview && preview->PdfPaneOf(ids::kFirstPane)->Document()->pageCount() > 0;
       },
       [&] {
         auto* preview = VisibleWindow<QtPreviewView>();
         PdfPane* pane = preview->PdfPaneOf(ids::kFirstPane);
         transcript.Line(QStringLiteral("preview: %1 of %2, %3, %4 pages")
                             .arg(LabelText(preview, ids::kFileNumber),
                                  LabelText(preview, ids::kFileCount),
                                  LabelText(preview, ids::kSourcePath))
                             .arg(pane->Document()->pageCount()));
         transcript.Line("next file: " + BitmapShown(preview, ids::kNextFile));
         ButtonOf(preview, ids::kNextFile)->click();
       }},
      {[] {
         auto* preview = VisibleWindow<QtPreviewView>();
         return preview && preview->PdfPaneOf(ids::kSecondPane)->isVisible() &&
                preview->PdfPaneOf(ids::kSecondPane)->Document()->pageCount() > 0;
       },
       [&] {
         auto* preview = VisibleWindow<QtPreviewView>();
         PdfPane* pane = preview->PdfPaneOf(ids::kSecondPane);
         transcript.Line(QStringLiteral("preview: %1 of %2, %3, %4 pages")
                             .arg(LabelText(preview, ids::kFileNumber),
                                  LabelText(preview, ids::kFileCount),
                                  LabelText(preview, ids::kSourcePath))
                             .arg(pane->Document()->pageCount()));
         transcript.Line("next file: " + BitmapShown(preview, ids::kNextFile) +
                         ", back file: " + BitmapShown(preview, ids::kBackFile));
         ButtonOf(preview, ids::kSaveAllButton)->click();
       }},
      {[] { return VisibleWindow<QtCompletionView>() != nullptr; },
       [&] {
         auto* completion = VisibleWindow<QtCompletionView>();
         transcript.Line("completion: " + completion->windowTitle() + ", preview " +
                         (VisibleWindow<QtPreviewView>() ? "shown" : "hidden"));
         ButtonOf(completion, ids::kCompletionOk)->click();
       }},
  });

  application.InitInstance({});
  transcript.Line("start-up returned");
  return 3;
}

}  // namespace

class EndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void pickRepairPreviewNextSaveAllAndComplete() {
    QTemporaryDir root;
    const QString folder = root.path();
    for (const char* sub : {"program/Bmp", "sources", "saved", "tmp", "config", "runtime"}) {
      QVERIFY(QDir().mkpath(folder + "/" + sub));
    }
    QFile::setPermissions(folder + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner);
    test::WriteSkinFolder((folder + "/program/Bmp").toStdString());
    test::WriteFile((folder + "/registry.ini").toStdString(),
                    "[TWPDF]\nFilePath=" + (folder + "/program").toStdString() + "\n");
    test::WriteFile((folder + "/sources/first.pdf").toStdString(), test::DamagedPdf("First", 2));
    test::WriteFile((folder + "/sources/second.pdf").toStdString(),
                    test::DamagedPdf("Second", 3));

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kFolderVariable, folder);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("TARNWICK_REGISTRY", folder + "/registry.ini");
    environment.insert("XDG_CONFIG_HOME", folder + "/config");
    // The settings name no log folder: the log goes into the user's state folder.
    environment.insert("XDG_STATE_HOME", folder + "/state");
    environment.insert("XDG_RUNTIME_DIR", folder + "/runtime");
    environment.insert("TMPDIR", folder + "/tmp");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(120'000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);

    QFile transcriptFile(folder + "/transcript.txt");
    QVERIFY(transcriptFile.open(QIODevice::ReadOnly));
    const QStringList transcript = QString::fromUtf8(transcriptFile.readAll()).split('\n');
    const QString first = folder + "/sources/first.pdf";
    const QString second = folder + "/sources/second.pdf";
    QCOMPARE(transcript, QStringList({
                             "main window:  Tarnwick for Adobe PDF",
                             "open button: Open, Open.bmp",
                             "clear all before: clearall-d.bmp",
                             "open dialog:  Open Pdf files",
                             "rows: " + first + " | " + second,
                             "clear all after: clearall-a.bmp",
                             "preview: 1 of 2, " + first + ", 2 pages",
                             "next file: nextfile-a.bmp",
                             "preview: 2 of 2, " + second + ", 3 pages",
                             "next file: nextfile-d.bmp, back file: backfile-a.bmp",
                             "folder browser: Select the Destination Path",
                             "completion:  Tarnwick for Adobe PDF, preview hidden",
                             "program ended: 0",
                             "",
                         }));
    QCOMPARE(child.exitCode(), 0);

    // The saved copies are whole PDFs with the sources' pages.
    for (const auto& [name, pages] : {std::pair{"first.pdf", 2}, std::pair{"second.pdf", 3}}) {
      const QString saved = folder + "/saved/" + name;
      QProcess qpdf;
      qpdf.start("qpdf", {"--check", saved});
      QVERIFY(qpdf.waitForFinished());
      QCOMPARE(qpdf.exitCode(), 0);
      qpdf.start("qpdf", {"--show-npages", saved});
      QVERIFY(qpdf.waitForFinished());
      QCOMPARE(qpdf.readAllStandardOutput().trimmed().toInt(), pages);
    }
    const std::string log = test::ReadFile((folder + "/state/tarnwick/Activity Log.txt").toStdString());
    QCOMPARE(QString::fromStdString(log),
             "1-   " + first + "\r\n2-   " + second +
                 "\r\n\r\n\r\n******************* Repairing Completed successfully"
                 "***********************************");
    // No repaired copy is left in the work folders.
    QStringList left;
    QDirIterator work(folder + "/tmp", QDir::Files, QDirIterator::Subdirectories);
    while (work.hasNext()) left << work.next();
    QCOMPARE(left, QStringList());
  }
};

int main(int argc, char** argv) {
  const QString root = qEnvironmentVariable(kFolderVariable);
  if (root.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  if (!root.isEmpty()) return RunProgram(root);
  EndToEndTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "end_to_end_test.moc"
