#include "batch_repair.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "job_switch.h"
#include "native_platform.h"
#include "path_separators.h"
#include "pdf_repair.h"

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

struct Outcome {
  bool repaired = false;
  bool pageless = false;  // repaired, but its page tree lists no page
  std::string outputPath;
};

// Prints each file's result as soon as all earlier files have theirs, so that the output is the
// same however many jobs run at once.
class OrderedReport {
 public:
  OrderedReport(Terminal& terminal, std::size_t count) : terminal_(terminal), outcomes_(count) {}

  void Add(std::size_t index, Outcome outcome) {
    std::lock_guard lock(mutex_);
    outcomes_[index] = std::move(outcome);
    while (next_ < outcomes_.size() && outcomes_[next_]) {
      const Outcome& done = *outcomes_[next_];
      if (done.repaired) terminal_.Output(done.outputPath);
      if (!done.repaired || done.pageless) ++failures_;
      ++next_;
    }
  }
  std::size_t Failures() const { return failures_; }

 private:
  Terminal& terminal_;
  std::mutex mutex_;
  std::vector<std::optional<Outcome>> outcomes_;
  std::size_t next_ = 0;
  std::size_t failures_ = 0;
};

Outcome RepairOne(const Options& options, const std::string& path, Terminal& terminal,
                  Interruption& interruption) {
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
  Outcome outcome;
  if (state.saveMode && IsSameFile(path, state.destinationFolder + FileNameOf(path))) {
    interruption.Unregister(control);
    terminal.Error(path + ": cannot repair a file onto itself");
    return outcome;
  }
  outcome.repaired = engine.RepairFile(path);
  interruption.Unregister(control);
  outcome.outputPath = state.outputPath;
  // The copy's last step may end short of the full bar; a finished file shows it full.
  if (outcome.repaired) view.SetProgressPosition(100);
  terminal.ClearProgress();
  outcome.pageless = outcome.repaired && engine.Rebuilt().listedPages.empty();
  if (outcome.pageless) {
    terminal.Error(path + ": warning: no page could be recovered from this file");
  }
  const bool keyLost = outcome.repaired && engine.Rebuilt().encryptionKeyLost;
  if (keyLost) {
    terminal.Error(path + ": warning: the file is encrypted and its trailer was lost with the "
                          "identifier its key is derived from; the copy keeps its encrypted "
                          "data, which no password opens");
  }
  if (outcome.repaired && !keyLost && engine.PackedObjectsProtected()) {
    terminal.Error(path + ": warning: the file is encrypted and " +
                   (options.password ? "the password given does not open it"
                                     : "needs a password (see --password)") +
                   "; its packed objects were copied still packed and encrypted");
  }
  if (outcome.repaired && options.verbose) {
    for (const MendedStream& mended : engine.Rebuilt().mendedStreams) {
      terminal.Error(path + ": stream object " + std::to_string(mended.number) + ": " +
                     MendText(mended.mend));
    }
    for (const ObjectMend& mended : engine.Rebuilt().mendedObjects) {
      terminal.Error(path + ": object " + std::to_string(mended.number) + ": " + MendText(mended));
    }
  }
  if (!outcome.repaired) {
    // The job's own notices are not printed; its failure text says the same and names the file
    // it concerns, which is printed first when it is not the source.
    const std::string& failure = engine.FailureText();
    terminal.Error(failure.starts_with(path + ": ") ? failure : path + ": " + failure);
  }
  return outcome;
}

}  // namespace

int RunBatch(const Options& options, Terminal& terminal, Interruption& interruption) {
  // Files with the same name would write the same output; they run one after another, in the
  // order given, as they would with one job.
  std::map<std::string, std::vector<std::size_t>> byName;
  for (std::size_t i = 0; i < options.files.size(); ++i)
    byName[FileNameOf(options.files[i])].push_back(i);
  std::vector<std::vector<std::size_t>> chains;
  for (auto& [name, indexes] : byName) chains.push_back(std::move(indexes));
  std::sort(chains.begin(), chains.end(), [](const auto& a, const auto& b) { return a[0] < b[0]; });

  OrderedReport report(terminal, options.files.size());
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
          terminal.Error(options.files[index] + ": not repaired: interrupted");
          report.Add(index, Outcome{});
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
  return report.Failures() == 0 ? 0 : 1;
}

}  // namespace tarnwick::cli
