#include "recovery_notice.h"

#include "app_texts.h"

namespace tarnwick {

std::optional<std::string> RecoveryNotice(const RepairOutcome& outcome) {
  if (outcome.status == RepairStatus::kNoPageRecovered) return ui::kNoPageRecovered;
  const FoundCounts& found = outcome.found;
  std::uint64_t lost = 0;
  for (const PageRange& range : found.lostPages) lost += range.last - range.first + 1;
  if (lost == 0 || lost > found.pagesInOldTree) return std::nullopt;
  return std::to_string(found.pagesInOldTree - lost) + " of " +
         std::to_string(found.pagesInOldTree) + ui::kPagesRecovered;
}

}  // namespace tarnwick
