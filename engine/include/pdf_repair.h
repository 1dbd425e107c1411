#pragma once

#include <memory>
#include <optional>
#include <string>

#include "file_layer.h"
#include "job_interfaces.h"
#include "rebuild_summary.h"
#include "repair_outcome.h"
#include "repair_job_state.h"
#include "scan_results.h"

namespace tarnwick {

class JobProgress;
class OutputWriter;
class SourceReader;
class StandardSecurity;
struct TrailerProtection;

// What a job needs from its surroundings.
struct RepairServices {
  FileLayer& files;
  Clock& clock;
  JobMessages& messages;
  JobControl& control;
};

// The repair engine. It reads a damaged PDF front to back, locates its objects by keyword
// without trusting the cross-reference data, and writes a new file: the objects copied byte for
// byte (pages pointed at a new page tree), a one-level page tree, a catalog, a cross-reference
// table and a trailer. One object serves one job at a time; its state persists between jobs.
class PDF_Repair {
 public:
  explicit PDF_Repair(RepairServices services);
  ~PDF_Repair();
  PDF_Repair(const PDF_Repair&) = delete;
  PDF_Repair& operator=(const PDF_Repair&) = delete;

  RepairJobState& State() { return state_; }
  // What the last job's scan found, and what its rebuild made of it.
  const ScanResults& Results() const { return results_; }
  const RebuildSummary& Rebuilt() const { return rebuilt_; }

  // Repairs one file into the work folder (or, in save mode, the destination folder). True when
  // the output was written and both files closed; false when the job ended early, in which case
  // both files are closed as well.
  bool RepairFile(const std::string& sourcePath);

  // Reads the source and finds what is wrong with it, as a repair would, without writing
  // anything: no output file, no work folder, no question. True when the analysis ran to its
  // end (the outcome says whether the file is intact); false when it ended early.
  bool CheckFile(const std::string& sourcePath);

  // How the last job (repair or check) ended, what it found wrong with the source, and what
  // the copy mended or lost.
  const RepairOutcome& Outcome() const { return outcome_; }

  // Whether the copy mends what a strict reader would reject in a copied object (on unless
  // switched off): damage cut off, references to lost objects resolved, lost fonts and images
  // replaced, pages kept with the content that survived. Off, the copy is what the repair's
  // rules alone make of the source.
  void SetMending(bool mend) { mend_ = mend; }

  // A password to try on encrypted sources before the empty one, as the user password or the
  // owner password. It is kept in this object only, never written anywhere.
  void SetPassword(std::string password);
  // True when the last job's source is encrypted, has objects packed in object streams, and no
  // password opened it: those objects were copied as they stand, still packed.
  bool PackedObjectsProtected() const {
    return results_.packedObjects == PackedObjectAccess::kProtected;
  }

  // Why the last job ended early, for logs, messages and the command line: the path of the
  // file concerned and the system's reason, that memory ran out, or "stopped".
  const std::string& FailureText() const { return failureText_; }
  // True when the last job ended early for a reason the job did not show the user itself (an
  // I/O error, a source that changed under it): not after a stop, a declined overwrite, or a
  // file that could not be opened, which the job's own notices report.
  bool FailureUntold() const { return failureUntold_; }

 private:
  // RepairFile without its last resort: a failed allocation ends the job as a failure.
  bool RunJob(const std::string& sourcePath);
  // The same for CheckFile.
  bool RunCheck(const std::string& sourcePath);
  // Clears what the last job left; the next one concerns `sourcePath`.
  void BeginJob(const std::string& sourcePath);
  bool OpenSource();
  // Records why the job ends without a copy: the file concerned (empty for none) and the reason.
  void Fail(RepairStatus status, const std::string& path, const std::string& reason);
  bool EndJobOutOfMemory();
  // The header, the scan and the rebuild over the open files; false when the job must end.
  bool RunSteps();
  // Step 1; a second time with the document's key when the source is encrypted and packed.
  // Gives the /Encrypt and /ID entries the copy carries and, when a password opened the source,
  // its security handler.
  bool ScanSource(JobProgress& progress, TrailerProtection& protection,
                  std::optional<StandardSecurity>& security);
  // What the outcome says of the source's encryption, once the scan has read it.
  EncryptionState EncryptionFound(const TrailerProtection& protection, bool opened) const;
  void WriteHeader();
  void CloseFiles();
  // Closes both files after an I/O error or a stop (the unfinished copy goes with its output
  // file) and returns false.
  bool EndJob();

  RepairServices services_;
  RepairJobState state_;
  ScanResults results_;
  RebuildSummary rebuilt_;
  RepairOutcome outcome_;
  std::string failureText_;
  std::string password_;
  std::string sourcePath_;
  bool failureUntold_ = false;
  bool mend_ = true;
  // Whether a password opened the source when the copy had no use for its key.
  bool passwordOpens_ = false;

  // Per-job working state, rebuilt by every job.
  std::unique_ptr<SourceReader> source_;
  std::unique_ptr<OutputWriter> output_;
};

}  // namespace tarnwick
