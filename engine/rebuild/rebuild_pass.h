#pragma once

#include "document_protection.h"
#include "job_progress.h"
#include "output_writer.h"
#include "rebuild_summary.h"
#include "scan_results.h"
#include "source_reader.h"

namespace tarnwick {

// Step 2 of a repair and the tail of the repaired file: the copy is planned once from the scan's
// results, every object the plan takes is copied in table order (newest first), then the new
// page tree, catalog, cross-reference table, trailer and startxref section are written. It
// reads the scan's results and never changes them.
class RebuildPass {
 public:
  // With `mend`, what a strict reader would reject in a copied object is mended. `protection`
  // is what the copy's trailer carries of the source's encryption; `security` the source's
  // handler when a password opened it, else null.
  RebuildPass(const ScanResults& results, SourceReader& source, OutputWriter& output,
              JobProgress& progress, bool mend, const TrailerProtection& protection,
              const StandardSecurity* security);

  // False when the job must end (stop, or a read or write failed).
  bool RunRebuildPass();
  const RebuildSummary& Summary() const { return summary_; }

 private:
  const ScanResults& results_;
  SourceReader& source_;
  SourceReader unpacked_;
  OutputWriter& output_;
  JobProgress& progress_;
  bool mend_;
  TrailerProtection protection_;
  const StandardSecurity* security_;
  RebuildSummary summary_;
};

}  // namespace tarnwick
