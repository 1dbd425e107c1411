// The job around one repair: where the output goes, the overwrite question, the header, and
// closing both files on every way out.
#include <algorithm>
#include <cstdio>
#include <new>

#include "document_protection.h"
#include "engine_texts.h"
#include "job_progress.h"
#include "object_scan.h"
#include "output_writer.h"
#include "path_separators.h"
#include "pdf_repair.h"
#include "rebuild_pass.h"
#include "source_diagnosis.h"
#include "source_reader.h"

namespace tarnwick {

namespace {

std::string WorkFolderName(const LocalTime& t) {
  char name[96];
  std::snprintf(name, sizeof name, "%d-%d-%d-%d-%d-%d", t.hour, t.minute, t.second, t.day, t.month,
                t.year);
  return name;
}

}  // namespace

PDF_Repair::PDF_Repair(RepairServices services) : services_(services) {}

PDF_Repair::~PDF_Repair() { SetPassword({}); }

void PDF_Repair::SetPassword(std::string password) {
  std::fill(password_.begin(), password_.end(), '\0');
  password_ = std::move(password);
}

bool PDF_Repair::RepairFile(const std::string& sourcePath) {
  try {
    return RunJob(sourcePath);
  } catch (const std::bad_alloc&) {
    return EndJobOutOfMemory();
  }
}

bool PDF_Repair::EndJobOutOfMemory() {
  // The job's working state is gone with the unwinding; what the scan had found is dropped
  // too, so that the memory is back before anything else is asked of it.
  results_ = ScanResults{};
  rebuilt_ = RebuildSummary{};
  outcome_.source.reset();
  outcome_.found = FoundCounts{};
  outcome_.mended = MendsFound{};
  Fail(RepairStatus::kOutOfMemory, sourcePath_, texts::kNotEnoughMemory);
  return EndJob();
}

void PDF_Repair::BeginJob(const std::string& sourcePath) {
  state_.jobDone = false;
  failureText_.clear();
  failureUntold_ = false;
  sourcePath_ = sourcePath;
  outcome_ = RepairOutcome{};
  outcome_.sourcePath = sourcePath;
}

void PDF_Repair::Fail(RepairStatus status, const std::string& path, const std::string& reason) {
  outcome_.status = status;
  outcome_.failurePath = path;
  outcome_.reason = reason;
  outcome_.outputPath.clear();
  outcome_.outputBytes = 0;
  failureText_ = path.empty() ? reason : path + ": " + reason;
}

bool PDF_Repair::RunJob(const std::string& sourcePath) {
  BeginJob(sourcePath);
  if (!OpenSource()) {
    // The notice's own line stays as it always was; the next one says which file and why.
    services_.messages.Notice(std::string(texts::kSourceNotOpened) + '\n' + failureText_);
    return false;
  }

  const std::string fileName = FileNameOf(sourcePath);
  if (state_.saveMode) {
    state_.outputPath = state_.destinationFolder + fileName;
  } else {
    const std::optional<std::string> temporary = services_.files.TemporaryFolder();
    if (!temporary || temporary->empty()) {
      Fail(RepairStatus::kOutputNotWritable, {},
           "no private temporary folder: " + services_.files.LastErrorText());
      services_.messages.Notice(texts::kOperationFailed);
      CloseFiles();
      return false;
    }
    // The temporary folder ends with a separator; cutting at the last one drops it, and the
    // parts added are joined with the same one.
    const char separator = SeparatorOf(*temporary);
    std::string folder = temporary->substr(0, temporary->find_last_of(kPathSeparators));
    folder += separator + WorkFolderName(services_.clock.Now());
    services_.files.CreateFolder(folder);  // it may exist from a job in the same second
    state_.outputPath = folder + separator + fileName;
  }

  // After a Yes the old file stays until the new copy is whole: the file layer puts the copy in
  // its place only when it closes. It refuses a file that this job holds (its own source), which
  // keeps a save into the source's own folder from destroying the original.
  if (services_.files.Exists(state_.outputPath) &&
      !services_.messages.AskYesNo(texts::kOverwriteQuestion, state_.messageCaption)) {
    Fail(RepairStatus::kDeclinedOverwrite, state_.outputPath, "exists, not overwritten");
    CloseFiles();
    return false;
  }

  state_.outputFile = services_.files.OpenForWriting(state_.outputPath);
  if (!state_.outputFile) {
    Fail(RepairStatus::kOutputNotWritable, state_.outputPath, services_.files.LastErrorText());
    services_.messages.Notice(std::string(texts::kDestinationNotOpened) + '\n' + failureText_);
    CloseFiles();
    return false;
  }

  source_ = std::make_unique<SourceReader>(*state_.sourceFile);
  output_ = std::make_unique<OutputWriter>(*state_.outputFile);
  if (!RunSteps() || !output_->Flush()) {
    if (rebuilt_.outputTooLarge) {
      Fail(RepairStatus::kOutputTooLarge, state_.outputPath, texts::kOutputTooLarge);
    }
    return EndJob();
  }

  const std::uint64_t written = output_->Length();
  source_.reset();
  state_.sourceFile.reset();
  output_.reset();
  if (!state_.outputFile->Close()) {
    Fail(RepairStatus::kOutputNotWritable, state_.outputPath, state_.outputFile->ErrorText());
    return EndJob();
  }
  state_.outputFile.reset();
  state_.jobDone = true;
  outcome_.outputPath = state_.outputPath;
  outcome_.outputBytes = written;
  return true;
}

bool PDF_Repair::OpenSource() {
  state_.sourceFile = services_.files.OpenForReading(sourcePath_);
  if (!state_.sourceFile) {
    Fail(RepairStatus::kSourceUnreadable, sourcePath_, services_.files.LastErrorText());
    return false;
  }
  outcome_.sourceBytes = state_.sourceFile->Length();
  return true;
}

bool PDF_Repair::RunSteps() {
  results_ = ScanResults{};
  rebuilt_ = RebuildSummary{};
  JobProgress progress(state_, services_.control, *source_, *output_);
  TrailerProtection protection;
  std::optional<StandardSecurity> security;  // its key is wiped when the job's steps end
  WriteHeader();
  if (!progress.SafePoint() || !ScanSource(progress, protection, security)) {
    return false;
  }
  SourceDiagnosis diagnosis(*source_, results_);
  diagnosis.Diagnose(EncryptionFound(protection, security.has_value()), outcome_);
  RebuildPass rebuild(results_, *source_, *output_, progress, mend_, protection,
                      security ? &*security : nullptr);
  const bool rebuilt = rebuild.RunRebuildPass();
  rebuilt_ = rebuild.Summary();
  if (rebuilt) diagnosis.RecordRebuild(rebuilt_, outcome_);
  return rebuilt;
}

EncryptionState PDF_Repair::EncryptionFound(const TrailerProtection& protection,
                                            bool opened) const {
  if (!protection.encrypted) return EncryptionState::kNone;
  if (protection.keyLost) return EncryptionState::kKeyLost;
  return opened || passwordOpens_ ? EncryptionState::kOpened : EncryptionState::kPasswordNeeded;
}

bool PDF_Repair::ScanSource(JobProgress& progress, TrailerProtection& protection,
                            std::optional<StandardSecurity>& security) {
  if (!ObjectScan(*source_, progress, results_).ScanObjects()) return false;
  protection = ProtectionInForce(results_);
  // A source cut before its trailer may still hold its security dictionary; without it the
  // copy would claim to be plain while its strings and streams are encrypted.
  std::optional<StandaloneEncryption> standalone;
  if (mend_ && !protection.encrypted && (!results_.trailer || results_.trailerIncomplete)) {
    standalone = FindStandaloneEncryption(*source_, results_);
    if (standalone) TakeStandaloneEncryption(*standalone, protection);
  }
  passwordOpens_ = false;
  if (!protection.encrypted) return true;
  std::vector<std::string> passwords{""};
  if (!password_.empty()) passwords.insert(passwords.begin(), password_);
  // The key serves the packed objects and, when mending, the encrypted streams that need it.
  // Without either the copy does not use it; whether a password opens the source is still
  // worth telling.
  if (results_.objectStreams == 0 && !mend_) {
    passwordOpens_ = UnlockSource(*source_, results_, protection, passwords).has_value();
    std::fill(passwords.front().begin(), passwords.front().end(), '\0');
    return true;
  }
  if (mend_) {
    const std::optional<EncryptionDictionary> encryption =
        SourceEncryption(*source_, results_, protection);
    protection.cryptFilters = encryption && encryption->version >= 4;
  }
  security = UnlockSource(*source_, results_, protection, passwords);
  std::fill(passwords.front().begin(), passwords.front().end(), '\0');
  // Revisions 2 to 4 derive the key from the first /ID string; when it went with the trailer,
  // no password opens the copy. (A source that never had one opens with none.)
  protection.keyLost = standalone && standalone->revision <= 4 && !protection.identified && !security;
  if (results_.objectStreams == 0) return true;
  if (!security) {
    results_.packedObjects = PackedObjectAccess::kProtected;
    return true;
  }
  // The scan runs again from the start rather than unpacking the streams now, so that their
  // objects stand in the table where the streams stand, as a plain file's would.
  if (!ObjectScan(*source_, progress, results_, &*security).ScanObjects()) return false;
  results_.packedObjects = PackedObjectAccess::kDecrypted;
  return true;
}

void PDF_Repair::WriteHeader() {
  output_->Write("%PDF-");
  std::uint8_t version[3];
  const std::size_t got = source_->Read(5, 3, version);
  // Only versions 1.0 to 1.7 are copied; anything else becomes 1.4, which every reader accepts.
  const bool copyable =
      got == 3 && version[0] == '1' && version[1] == '.' && version[2] >= '0' && version[2] <= '7';
  if (copyable) {
    output_->Write(version, 3);
  } else {
    output_->Write("1.4");
  }
  // A CR, a comment of three bytes above 0x7F that marks the file as binary, and an LF.
  static constexpr std::uint8_t kMarker[] = {0x0D, '%', 0xE2, 0xE3, 0xCF, 0x0A};
  output_->Write(kMarker, sizeof kMarker);
}

void PDF_Repair::CloseFiles() {
  source_.reset();
  output_.reset();
  state_.sourceFile.reset();
  state_.outputFile.reset();
}

bool PDF_Repair::EndJob() {
  if (failureText_.empty()) {
    if (source_ && source_->Shrank()) {
      Fail(RepairStatus::kSourceChanged, sourcePath_, texts::kSourceShrank);
    } else if (source_ && source_->Failed()) {
      Fail(RepairStatus::kSourceUnreadable, sourcePath_, state_.sourceFile->ErrorText());
    } else if (output_ && output_->Failed()) {
      Fail(RepairStatus::kOutputNotWritable, state_.outputPath, state_.outputFile->ErrorText());
    }
  }
  failureUntold_ = !failureText_.empty();
  if (!failureUntold_) Fail(RepairStatus::kStopped, {}, "stopped");
  CloseFiles();
  state_.jobDone = false;
  return false;
}

}  // namespace tarnwick
