// A check: the scan and the reading of the source's structure that a repair makes, with no
// copy written.
#include <new>

#include "document_protection.h"
#include "job_progress.h"
#include "object_scan.h"
#include "output_writer.h"
#include "pdf_repair.h"
#include "source_diagnosis.h"
#include "source_reader.h"

namespace tarnwick {

namespace {

// Where a check's progress reports look for a failed write: nothing is written.
class NoOutput : public OutputFile {
 public:
  bool Append(const std::uint8_t*, std::size_t) override { return true; }
  bool Close() override { return true; }
  std::string ErrorText() const override { return {}; }
};

}  // namespace

bool PDF_Repair::CheckFile(const std::string& sourcePath) {
  try {
    return RunCheck(sourcePath);
  } catch (const std::bad_alloc&) {
    return EndJobOutOfMemory();
  }
}

bool PDF_Repair::RunCheck(const std::string& sourcePath) {
  BeginJob(sourcePath);
  if (!OpenSource()) return false;
  NoOutput nothing;
  source_ = std::make_unique<SourceReader>(*state_.sourceFile);
  output_ = std::make_unique<OutputWriter>(nothing);
  results_ = ScanResults{};
  rebuilt_ = RebuildSummary{};
  JobProgress progress(state_, services_.control, *source_, *output_);
  TrailerProtection protection;
  std::optional<StandardSecurity> security;
  if (!progress.SafePoint() || !ScanSource(progress, protection, security)) return EndJob();
  SourceDiagnosis diagnosis(*source_, results_);
  diagnosis.Diagnose(EncryptionFound(protection, security.has_value()), outcome_);
  if (source_->Failed()) return EndJob();
  outcome_.status =
      outcome_.source->Intact() ? RepairStatus::kIntact : RepairStatus::kNeedsRepair;
  CloseFiles();
  return true;
}

}  // namespace tarnwick
