#include "outcome_json.h"

#include <nlohmann/json.hpp>

namespace tarnwick::cli {

namespace {

// Insertion order, so that every line lists its fields in the same, readable order.
using json = nlohmann::ordered_json;

const char* Name(RepairStatus status) {
  switch (status) {
    case RepairStatus::kRepaired:
      return "repaired";
    case RepairStatus::kRepairedWithLosses:
      return "repaired-with-losses";
    case RepairStatus::kNoPageRecovered:
      return "no-page-recovered";
    case RepairStatus::kSourceUnreadable:
      return "source-unreadable";
    case RepairStatus::kOutputNotWritable:
      return "output-not-writable";
    case RepairStatus::kStopped:
      return "stopped";
    case RepairStatus::kDeclinedOverwrite:
      return "declined-overwrite";
    case RepairStatus::kOutOfMemory:
      return "out-of-memory";
    case RepairStatus::kOutputTooLarge:
      return "output-too-large";
    case RepairStatus::kSourceChanged:
      return "source-changed";
    case RepairStatus::kIntact:
      return "intact";
    case RepairStatus::kNeedsRepair:
      return "needs-repair";
  }
  return "";
}

// The job ended before its end: no copy, or no finished analysis.
bool EndedEarly(RepairStatus status) {
  switch (status) {
    case RepairStatus::kRepaired:
    case RepairStatus::kRepairedWithLosses:
    case RepairStatus::kNoPageRecovered:
    case RepairStatus::kIntact:
    case RepairStatus::kNeedsRepair:
      return false;
    case RepairStatus::kSourceUnreadable:
    case RepairStatus::kOutputNotWritable:
    case RepairStatus::kStopped:
    case RepairStatus::kDeclinedOverwrite:
    case RepairStatus::kOutOfMemory:
    case RepairStatus::kOutputTooLarge:
    case RepairStatus::kSourceChanged:
      return true;
  }
  return true;
}

const char* Name(HeaderState state) {
  switch (state) {
    case HeaderState::kIntact:
      return "intact";
    case HeaderState::kMissing:
      return "missing";
    case HeaderState::kDamaged:
      return "damaged";
    case HeaderState::kAfterJunk:
      return "after-junk";
  }
  return "";
}

const char* Name(XrefState state) {
  switch (state) {
    case XrefState::kIntact:
      return "intact";
    case XrefState::kMissing:
      return "missing";
    case XrefState::kWrongOffsets:
      return "wrong-offsets";
    case XrefState::kUnreadable:
      return "unreadable";
  }
  return "";
}

const char* Name(StartxrefState state) {
  switch (state) {
    case StartxrefState::kIntact:
      return "intact";
    case StartxrefState::kMissing:
      return "missing";
    case StartxrefState::kWrong:
      return "wrong";
  }
  return "";
}

const char* Name(TrailerState state) {
  switch (state) {
    case TrailerState::kIntact:
      return "intact";
    case TrailerState::kMissing:
      return "missing";
    case TrailerState::kWithoutRoot:
      return "without-root";
    case TrailerState::kRootLost:
      return "root-lost";
    case TrailerState::kDamaged:
      return "damaged";
  }
  return "";
}

const char* Name(PageTreeState state) {
  switch (state) {
    case PageTreeState::kIntact:
      return "intact";
    case PageTreeState::kMissing:
      return "missing";
    case PageTreeState::kBroken:
      return "broken";
  }
  return "";
}

const char* Name(EncryptionState state) {
  switch (state) {
    case EncryptionState::kNone:
      return "none";
    case EncryptionState::kOpened:
      return "opened";
    case EncryptionState::kPasswordNeeded:
      return "password-needed";
    case EncryptionState::kKeyLost:
      return "key-lost";
  }
  return "";
}

const char* Name(StreamMend mend) {
  switch (mend) {
    case StreamMend::kTrueLength:
      return "true-length";
    case StreamMend::kLineEndsUndone:
      return "line-ends-undone";
    case StreamMend::kContentCut:
      return "content-cut";
    case StreamMend::kContentEmptied:
      return "content-emptied";
    case StreamMend::kEndRestored:
      return "end-restored";
    case StreamMend::kKeywordLineEnd:
      return "keyword-line-end";
  }
  return "";
}

const char* Name(ObjectMendKind kind) {
  switch (kind) {
    case ObjectMendKind::kValueCut:
      return "value-cut";
    case ObjectMendKind::kLeftOut:
      return "left-out";
    case ObjectMendKind::kReferenceNulled:
      return "reference-nulled";
    case ObjectMendKind::kFontReplaced:
      return "font-replaced";
    case ObjectMendKind::kXObjectReplaced:
      return "xobject-replaced";
    case ObjectMendKind::kContentDropped:
      return "content-dropped";
    case ObjectMendKind::kDuplicateKey:
      return "duplicate-key";
  }
  return "";
}

// The mends that replaced or removed a reference to another object.
bool NamesTarget(ObjectMendKind kind) {
  return kind == ObjectMendKind::kReferenceNulled || kind == ObjectMendKind::kFontReplaced ||
         kind == ObjectMendKind::kXObjectReplaced || kind == ObjectMendKind::kContentDropped;
}

template <typename T>
json OrNull(const std::optional<T>& value) {
  return value ? json(*value) : json(nullptr);
}

json SourceJson(const SourceFindings& source) {
  json wrongOffsets = json::array();
  for (const WrongOffset& wrong : source.wrongOffsets) {
    wrongOffsets.push_back(
        {{"object", wrong.number}, {"listed", wrong.listed}, {"found", OrNull(wrong.found)}});
  }
  json openObject = nullptr;
  if (source.openObjectNumber) {
    openObject = {{"object", *source.openObjectNumber}, {"offset", source.openObjectOffset}};
  }
  return {{"header", Name(source.header)},
          {"xref", Name(source.xref)},
          {"wrong_offset_count", source.wrongOffsetCount},
          {"wrong_offsets", std::move(wrongOffsets)},
          {"lost_objects", source.lostObjectCount},
          {"startxref", Name(source.startxref)},
          {"trailer", Name(source.trailer)},
          {"page_tree", Name(source.pageTree)},
          {"truncated", source.truncated},
          {"open_object", std::move(openObject)},
          {"encryption", Name(source.encryption)}};
}

json FoundJson(const FoundCounts& found) {
  json lostPages = json::array();
  for (const PageRange& range : found.lostPages) lostPages.push_back({range.first, range.last});
  return {{"objects", found.objects},
          {"versions_dropped", found.versionsDropped},
          {"pages_in_old_tree", found.pagesInOldTree},
          {"pages_recovered", OrNull(found.pagesRecovered)},
          {"lost_pages", std::move(lostPages)}};
}

json MendsJson(const MendsFound& mended) {
  json streams = json::array();
  for (const StreamMendFound& stream : mended.streams) {
    streams.push_back({{"object", stream.number},
                       {"mend", Name(stream.mend)},
                       {"offset", OrNull(stream.offset)}});
  }
  json objects = json::array();
  for (const ObjectMendFound& object : mended.objects) {
    json mend = {{"object", object.number}, {"mend", Name(object.kind)}};
    if (NamesTarget(object.kind)) mend["target"] = object.target;
    mend["offset"] = OrNull(object.offset);
    objects.push_back(std::move(mend));
  }
  return {{"streams", std::move(streams)},
          {"objects", std::move(objects)},
          {"pages_kept_in_part", mended.pagesKeptInPart}};
}

json OrNull(const std::string& path) { return path.empty() ? json(nullptr) : json(path); }

}  // namespace

std::string ReportLine(const RepairOutcome& outcome, double seconds) {
  json line = {
      {"input", outcome.sourcePath},
      {"output", OrNull(outcome.outputPath)},
      {"input_bytes", outcome.sourceBytes},
      {"output_bytes", outcome.outputPath.empty() ? json(nullptr) : json(outcome.outputBytes)},
      {"status", Name(outcome.status)}};
  if (EndedEarly(outcome.status)) {
    line["reason"] = outcome.reason;
    line["failed_path"] = OrNull(outcome.failurePath);
  }
  line["seconds"] = seconds;
  // What was found, mended and lost means something only once the scan has run to its end.
  if (outcome.source) {
    line["source"] = SourceJson(*outcome.source);
    line["found"] = FoundJson(outcome.found);
    line["mends"] = MendsJson(outcome.mended);
  } else {
    line["source"] = nullptr;
    line["found"] = nullptr;
    line["mends"] = nullptr;
  }
  // Paths that are not UTF-8 (possible on Linux) keep their other characters; each byte that
  // breaks the encoding becomes U+FFFD.
  return line.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace tarnwick::cli
