#include "check_text.h"

#include <vector>

namespace tarnwick::cli {

namespace {

std::string Count(std::uint64_t count, const std::string& one, const std::string& many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::vector<std::string> Damage(const SourceFindings& source) {
  std::vector<std::string> damage;
  if (source.header == HeaderState::kMissing) damage.push_back("no header");
  if (source.header == HeaderState::kDamaged) damage.push_back("damaged header");
  if (source.xref == XrefState::kMissing) damage.push_back("no cross-reference table");
  if (source.xref == XrefState::kWrongOffsets) {
    damage.push_back("cross-reference table points to wrong offsets for " +
                     Count(source.wrongOffsetCount, "object", "objects"));
  }
  if (source.xref == XrefState::kUnreadable) damage.push_back("unreadable cross-reference table");
  if (source.lostObjectCount > 0) {
    damage.push_back(Count(source.lostObjectCount, "object", "objects") +
                     " listed and referred to, but not found");
  }
  if (source.startxref == StartxrefState::kMissing) damage.push_back("startxref missing");
  if (source.startxref == StartxrefState::kWrong) {
    damage.push_back("startxref points to no cross-reference table");
  }
  if (source.trailer == TrailerState::kMissing) damage.push_back("no trailer");
  if (source.trailer == TrailerState::kWithoutRoot) damage.push_back("trailer names no catalog");
  if (source.trailer == TrailerState::kRootLost) damage.push_back("catalog lost");
  if (source.trailer == TrailerState::kDamaged) damage.push_back("damaged trailer");
  if (source.pageTree == PageTreeState::kMissing) damage.push_back("page tree missing");
  if (source.pageTree == PageTreeState::kBroken) damage.push_back("page tree broken");
  if (source.truncated) {
    damage.push_back(source.openObjectNumber
                         ? "truncated (object " + std::to_string(*source.openObjectNumber) +
                               " still open at the end)"
                         : "truncated");
  }
  if (source.encryption == EncryptionState::kKeyLost) {
    damage.push_back("encrypted, its key lost with the trailer");
  }
  return damage;
}

}  // namespace

std::string CheckText(const RepairOutcome& outcome) {
  const SourceFindings source = outcome.source.value_or(SourceFindings{});
  std::vector<std::string> words = Damage(source);
  if (words.empty()) words.push_back("intact");
  // Not damage, but worth knowing: what keeps a reader (and this check) out of the packed
  // objects, and bytes that some strict readers refuse.
  if (source.encryption == EncryptionState::kPasswordNeeded) {
    words.push_back("encrypted, needs a password");
  }
  if (source.header == HeaderState::kAfterJunk) words.push_back("bytes before its header");
  std::string text = words.front();
  for (std::size_t i = 1; i < words.size(); ++i) text += "; " + words[i];
  return text;
}

}  // namespace tarnwick::cli
