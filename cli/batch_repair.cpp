#include "batch_repair.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "job_switch.h"
#include "native_platform.h"
#include "ordered_report.h"
#include "path_separators.h"
#include "pdf_repair.h"
#include "utf8_path.h"

namespace tarnwick::cli {

namespace {

const char kCaption[] = "Tarnwick";

std::string MendText(StreamMend mend) {
  switch (mend) {
    case StreamMend::kTrueLength:
      return "its /Length was wrong; written with its true length";
    case StreamMend::kLineEndsUndone:
      return "its line ends had been doubled (CR LF); undone";
    case StreamMend::kContentCut:
      return "its content stopped decoding; what decoded is kept, its page may be incomplete";
    case StreamMend::kContentEmptied:
      return "nothing of its content decoded; written empty, its page shows blank";
    case StreamMend::kEndRestored:
      return "its endstream was missing; its data ends where the object does";
    case StreamMend::kKeywordLineEnd:
      return "the end of line after its stream keyword was not one readers accept; written anew";
  }
  return {};
}

std::string MendText(const ObjectMend& mend) {
  const std::string target = std::to_string(mend.target);
  switch (mend.kind) {
    case ObjectMendKind::kValueCut:
      return "damaged; written up to the damage";
    case ObjectMendKind::kLeftOut:
      return "nothing of it could be read; left out";
    case ObjectMendKind::kReferenceNulled:
      return "its reference to lost object " + target + " removed";
    case ObjectMendKind::kFontReplaced:
      return "its lost font " + target + " replaced by Helvetica";
    case ObjectMendKind::kXObjectReplaced:
      return "its lost image or form " + target + " replaced by an empty form";
    case ObjectMendKind::kDuplicateKey:
      return "a dictionary named a key twice; the earlier entry left out";
    case ObjectMendKind::kContentDropped:
      return "its lost content stream " + target + " taken out; the page may be incomplete";
  }
  return {};
}

// The outcome of a file that the tool refused before its job began, and the size it has.
RepairOutcome Refused(const std::string& path, RepairStatus status, const std::string& reason) {
  RepairOutcome outcome;
  outcome.status = status;
  outcome.sourcePath = path;
  outcome.failurePath = path;
  outcome.reason = reason;
  std::error_code absent;
  const auto size = std::filesystem::file_size(Utf8Path(path), absent);
  if (!absent) outcome.sourceBytes = size;
  return outcome;
}

// The path of the file a failure concerns comes first, then the reason; the source's path, which
// starts every line, is not said twice.
void PrintFailure(Terminal& terminal, const std::string& path, const RepairOutcome& outcome) {
  const bool otherFile = !outcome.failurePath.empty() && outcome.failurePath != path;
  terminal.Error(path + ": " + (otherFile ? outcome.failurePath + ": " : "") + outcome.reason);
}

void PrintWarnings(const Options& options, const std::string& path, const PDF_Repair& engine,
                   Terminal& terminal) {
  if (engine.Outcome().status == RepairStatus::kNoPageRecovered) {
    terminal.Error(path + ": warning: no page could be recovered from this file");
  }
  const bool keyLost = engine.Rebuilt().encryptionKeyLost;
  if (keyLost) {
    terminal.Error(path +
                   ": warning: the file is encrypted and its trailer was lost with the "
                   "identifier its key is derived from; the copy keeps its encrypted "
                   "data, which no password opens");
  }
  if (!keyLost && engine.PackedObjectsProtected()) {
    terminal.Error(path + ": warning: the file is encrypted and " +
                   (options.password ? "the password given does not open it"
                                     : "needs a password (see --password)") +
                   "; its packed objects were copied still packed and encrypted");
  }
  if (options.verbose) {
    for (const MendedStream& mended : engine.Rebuilt().mendedStreams) {
      terminal.Error(path + ": stream object " + std::to_string(mended.number) + ": " +
                     MendText(mended.mend));
    }
    for (const ObjectMend& mended : engine.Rebuilt().mendedObjects) {
      terminal.Error(path + ": object " + std::to_string(mended.number) + ": " + MendText(mended));
    }
  }
}

FileResult RepairOne(const Options& options, const std::string& path, Terminal& terminal,
                     Interruption& interruption) {
  const auto start = std::chrono::steady_clock::now();
  auto seconds = [start] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  NativeFileLayer files;
  NativeClock clock;
  JobSwitch control;
  interruption.Register(control);
  TerminalJobView view(terminal, path);
  PDF_Repair engine({files, clock, view, control});
  RepairJobState& state = engine.State();
  state.messageCaption = kCaption;
  state.analysisDialog = &view;
  state.savingDialog = &view;
  if (options.destination) {
    state.saveMode = true;
    state.destinationFolder = *options.destination;
    if (!EndsWithSeparator(state.destinationFolder)) {
      state.destinationFolder += SeparatorOf(state.destinationFolder);
    }
  }
  if (options.password) engine.SetPassword(*options.password);
  engine.SetMending(options.mend);
  if (state.saveMode && IsSameFile(path, state.destinationFolder + FileNameOf(path))) {
    interruption.Unregister(control);
    const RepairOutcome refused =
        Refused(path, RepairStatus::kOutputNotWritable, "cannot repair a file onto itself");
    PrintFailure(terminal, path, refused);
    return {refused, seconds()};
  }
  const bool finished = options.check ? engine.CheckFile(path) : engine.RepairFile(path);
  interruption.Unregister(control);
  // The job's last step may end short of the full bar; a finished file shows it full.
  if (finished) view.SetProgressPosition(100);
  terminal.ClearProgress();
  // The job's own notices are not printed; its outcome says the same and names the file
  // concerned.
  if (!finished) {
    PrintFailure(terminal, path, engine.Outcome());
  } else if (!options.check) {
    PrintWarnings(options, path, engine, terminal);
  }
  return {engine.Outcome(), seconds()};
}

}  // namespace

int RunBatch(const Options& options, Terminal& terminal, Interruption& interruption,
             ReportFile* reportFile) {
  // Files with the same name would write the same output; they run one after another, in the
  // order given, as they would with one job.
  std::map<std::string, std::vector<std::size_t>> byName;
  for (std::size_t i = 0; i < options.files.size(); ++i)
    byName[FileNameOf(options.files[i])].push_back(i);
  std::vector<std::vector<std::size_t>> chains;
  for (auto& [name, indexes] : byName) chains.push_back(std::move(indexes));
  std::sort(chains.begin(), chains.end(), [](const auto& a, const auto& b) { return a[0] < b[0]; });

  OrderedReport report(options, terminal, reportFile);
  std::mutex queueMutex;
  std::size_t nextChain = 0;
  auto worker = [&] {
    for (;;) {
      std::size_t chain;
      {
        std::lock_guard lock(queueMutex);
        if (nextChain == chains.size()) return;
        chain = nextChain++;
      }
      for (const std::size_t index : chains[chain]) {
        if (interruption.Requested()) {
          const std::string& path = options.files[index];
          FileResult skipped{
              Refused(path, RepairStatus::kStopped,
                      options.check ? "not checked: interrupted" : "not repaired: interrupted")};
          PrintFailure(terminal, path, skipped.outcome);
          report.Add(index, std::move(skipped));
        } else {
          report.Add(index, RepairOne(options, options.files[index], terminal, interruption));
        }
      }
    }
  };
  const auto threadCount =
      std::min<std::size_t>(static_cast<std::size_t>(options.jobs), chains.size());
  std::vector<std::thread> threads;
  for (std::size_t i = 1; i < threadCount; ++i) threads.emplace_back(worker);
  worker();
  for (std::thread& thread : threads) thread.join();
  if (interruption.Requested()) return kInterruptedStatus;
  return report.AllSucceeded() ? 0 : 1;
}

}  // namespace tarnwick::cli
