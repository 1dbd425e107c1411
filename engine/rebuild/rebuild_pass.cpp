// Step 2: the plan, the copy of the objects, then the new tree, catalog and tail.
#include "rebuild_pass.h"

#include "copy_plan.h"
#include "object_copier.h"
#include "tail_writer.h"

namespace tarnwick {

RebuildPass::RebuildPass(const ScanResults& results, SourceReader& source, OutputWriter& output,
                         JobProgress& progress, bool mend,
                         const TrailerProtection& protection, const StandardSecurity* security)
    : results_(results),
      source_(source),
      unpacked_(results.unpacked),
      output_(output),
      progress_(progress),
      mend_(mend),
      protection_(protection),
      security_(security) {}

bool RebuildPass::RunRebuildPass() {
  const CopyPlan plan(results_, source_, unpacked_, mend_, protection_, security_);
  summary_.encryptionKeyLost = protection_.keyLost;
  summary_.fallbackTrailer = plan.FallbackTrailer();
  summary_.newPagesNumber = plan.NewPagesNumber();
  summary_.trailer = plan.Trailer();
  for (const std::int64_t number : results_.lineEndsUndone) {
    summary_.mendedStreams.push_back({number, StreamMend::kLineEndsUndone});
  }
  TailWriter tail(plan, source_, output_, summary_);
  ObjectCopier copier(plan, source_, output_, progress_, tail.XrefEntries(), summary_);
  if (!copier.CopyObjects()) return false;
  tail.WritePagesObject();
  tail.WriteCatalogObject();
  tail.WriteReplacements();
  if (!tail.OffsetsFitTable()) {
    summary_.outputTooLarge = true;
    return false;
  }
  tail.WriteXrefTable();
  tail.WriteTrailer();
  tail.WriteStartXref();
  return progress_.SafePoint();
}

}  // namespace tarnwick
