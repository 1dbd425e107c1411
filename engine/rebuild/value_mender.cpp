// An object's value read as a strict reader reads it, and written anew only where such a reader
// would stop or find a reference it cannot follow.
#include "value_mender.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "byte_classes.h"
#include "decimal.h"
#include "engine_limits.h"
#include "literal_string.h"

namespace tarnwick {

namespace {

// Keys are views of the bytes read, which outlive the mender: nothing is allocated per key.

// An entry of an open dictionary written so far, with where its text lies in the output.
struct Entry {
  std::string_view key;
  std::size_t outStart = 0;
  std::size_t outEnd = 0;
};

// One open array or dictionary.
struct Frame {
  bool dictionary = false;
  std::string_view parentKey;  // the key this container is the value of, empty in an array
  bool outermost = false;  // the object's own dictionary
  // In a dictionary: the key whose value is awaited, and where that key starts in the output.
  bool awaitingValue = false;
  std::string_view key;
  std::size_t keyOut = 0;
  std::size_t valueOut = 0;  // where the awaited value starts in the output
  // Where its entries begin in the mender's list of entries: the containers inside it close
  // before it takes its next entry, so the entries of all open containers form one stack.
  std::size_t firstEntry = 0;
  std::size_t openOut = 0;  // the output just after its "<<"
};

// The lists a reading keeps, held from one value to the next so that most readings allocate
// nothing. One set per thread: a reading never starts another.
struct MenderLists {
  std::vector<Frame> frames;
  std::vector<Entry> entries;
  std::vector<std::string_view> outermostKeys;
};

// Reads a value once. Most values are whole and name only objects the copy holds, so a first
// reading only checks (`writing` false): it writes no output and stops at the first damage, which
// then has the value read again with its output written.
class Mender {
 public:
  Mender(std::span<const std::uint8_t> bytes, bool complete, const ReferenceRepair& repair,
         const std::vector<EntryEdit>& edits, bool rewrite, bool writing)
      : bytes_(bytes),
        complete_(complete),
        repair_(repair),
        edits_(edits),
        rewrite_(rewrite),
        writing_(writing),
        frames_(Lists().frames),
        entries_(Lists().entries),
        outermostKeys_(Lists().outermostKeys) {
    frames_.clear();
    entries_.clear();
    outermostKeys_.clear();
    // A dictionary of very many keys does not leave its lists' room behind for the rest of the
    // job.
    if (entries_.capacity() > kKeptEntries) std::vector<Entry>().swap(entries_);
    if (outermostKeys_.capacity() > kKeptEntries) std::vector<std::string_view>().swap(outermostKeys_);
  }

  MendedValue Run() {
    MendedValue result;
    std::size_t at = SkipSpace(0);
    bool valueDone = false;
    while (!valueDone) {
      if (at >= bytes_.size()) {
        if (!complete_) return Verdict(MendedValue::Verdict::kTooLarge);
        break;  // the value ends with the object: what is open is closed below
      }
      ranOut_ = false;
      const std::size_t next = Token(at);
      if (next == kDamage) {
        // Damage, unless the bytes given merely end inside a token.
        if (!complete_ && ranOut_) return Verdict(MendedValue::Verdict::kTooLarge);
        break;
      }
      // A check finds damage: the value will be written anew, by a reading that writes.
      if (!writing_ && damaged_) return Verdict(MendedValue::Verdict::kMended);
      at = SkipSpace(next);
      valueDone = frames_.empty();
    }
    if (!valueDone && !anyValue_) return Verdict(MendedValue::Verdict::kNothingParses);
    if (!writing_ && !valueDone) return Verdict(MendedValue::Verdict::kMended);  // cut below
    if (valueDone) {
      if (at < bytes_.size()) {
        const std::size_t run = RegularRunEnd(at);
        if (run == bytes_.size() && !complete_) return Verdict(MendedValue::Verdict::kTooLarge);
        if (Word(at, run) == "stream" && outermostWasDictionary_) {
          result.streamKeyword = at;
        } else {
          Mend(ObjectMendKind::kValueCut, 0);  // text after a complete value
          result.damageAt = at;
        }
      } else if (!complete_) {
        return Verdict(MendedValue::Verdict::kTooLarge);
      }
      Emit(valueEnd_);
    } else {
      CutAt(at);
      result.damageAt = at;
      // A stream dictionary cut short still has its stream after the damage.
      if (outermostWasDictionary_) result.streamKeyword = StreamKeywordAfter(at);
    }
    result.verdict = damaged_ ? MendedValue::Verdict::kMended : MendedValue::Verdict::kWhole;
    if (!damaged_ && !rewrite_) return result;
    result.text = std::move(out_);
    result.mends = std::move(mends_);
    return result;
  }

 private:
  MendedValue Verdict(MendedValue::Verdict verdict) {
    MendedValue result;
    result.verdict = verdict;
    return result;
  }

  int At(std::size_t i) {
    if (i < bytes_.size()) return bytes_[i];
    ranOut_ = true;
    return -1;
  }

  // The first "stream" keyword from `at` on that ends its line, not the end of "endstream".
  std::optional<std::size_t> StreamKeywordAfter(std::size_t at) const {
    const std::string_view text = Word(0, bytes_.size());
    for (std::size_t found = text.find("stream", at); found != std::string_view::npos;
         found = text.find("stream", found + 1)) {
      const bool ending = found >= 3 && text.substr(found - 3, 3) == "end";
      const std::size_t after = found + 6;
      if (!ending && after < text.size() && IsLineEnd(text[after])) return found;
    }
    return std::nullopt;
  }

  // The walks over white space and over names and numbers read the bytes directly; reaching the
  // end of the bytes counts as running out, as At() would have it.
  std::size_t SkipSpace(std::size_t at) {
    const std::size_t size = bytes_.size();
    while (at < size) {
      const std::uint8_t c = bytes_[at];
      if (IsPdfSpace(c)) {
        ++at;
      } else if (c == '%') {
        while (at < size && !IsLineEnd(bytes_[at])) ++at;
      } else {
        return at;
      }
    }
    ranOut_ = true;
    return at;
  }

  std::size_t RegularRunEnd(std::size_t at) {
    const std::size_t size = bytes_.size();
    while (at < size && IsRegular(bytes_[at])) ++at;
    if (at >= size) ranOut_ = true;
    return at;
  }

  std::string_view Word(std::size_t from, std::size_t to) const {
    return {reinterpret_cast<const char*>(bytes_.data()) + from, to - from};
  }

  void Emit(std::size_t upTo) {
    if (!writing_) return;  // a check writes nothing
    if (upTo > from_) out_.append(reinterpret_cast<const char*>(bytes_.data()) + from_, upTo - from_);
    from_ = std::max(from_, upTo);
  }

  void Mend(ObjectMendKind kind, std::int64_t target) {
    damaged_ = true;
    mends_.push_back({0, kind, target});
  }

  const EntryEdit* EditOf(const Frame& frame, std::string_view key) const {
    if (!frame.outermost) return nullptr;
    for (const EntryEdit& edit : edits_) {
      if (edit.key == key) return &edit;
    }
    return nullptr;
  }

  // The token at `at` read as (part of) the value; the offset after it, or kDamage. (A plain
  // offset rather than an optional one: the optional's flag, stored as a byte and read back
  // with its value as one, stalled the processor on every token.)
  std::size_t Token(std::size_t at) {
    const int c = At(at);
    Frame* top = frames_.empty() ? nullptr : &frames_.back();
    const bool keyPlace = top && top->dictionary && !top->awaitingValue;
    if (c == '>' && At(at + 1) == '>') {
      if (!top || !top->dictionary) return kDamage;
      if (top->awaitingValue) {  // a key that lost its value
        Emit(at);
        if (writing_) out_.resize(top->keyOut);
        Mend(ObjectMendKind::kValueCut, 0);
      }
      Emit(at);
      Close(*top);
      from_ = at + 2;
      if (writing_) out_ += ">>";
      PopFrame();
      ValueEnded(at + 2);
      return at + 2;
    }
    if (c == ']') {
      if (!top || top->dictionary) return kDamage;
      PopFrame();
      ValueEnded(at + 1);
      return at + 1;
    }
    if (c == '/') {
      const std::size_t end = RegularRunEnd(at + 1);
      if (end - at > limits::kMaxNameLength || !NameEscapesWhole(at + 1, end)) return kDamage;
      if (keyPlace) {
        Emit(at);
        top->key = Word(at + 1, end);
        DropEarlierEntry(*top);
        top->keyOut = out_.size();
        top->awaitingValue = true;
        if (top->outermost && writing_) outermostKeys_.push_back(top->key);  // for Close()
        return end;
      }
      ValueStarts(at);
      ValueEnded(end);
      return end;
    }
    if (keyPlace) return kDamage;  // only a name can be a key
    if (c == '<' && At(at + 1) == '<') return Open(at, true);
    if (c == '[') return Open(at, false);
    if (c == '(') {
      const std::int64_t end = LiteralStringEnd(static_cast<std::int64_t>(at), [this](std::int64_t i) {
        return At(static_cast<std::size_t>(i));
      });
      if (end < 0) return kDamage;
      ValueStarts(at);
      ValueEnded(static_cast<std::size_t>(end));
      return static_cast<std::size_t>(end);
    }
    if (c == '<') {
      std::size_t end = at + 1;
      while (IsHexDigit(At(end)) || IsPdfSpace(At(end))) ++end;
      if (At(end) != '>') return kDamage;
      ValueStarts(at);
      ValueEnded(end + 1);
      return end + 1;
    }
    if (!IsRegular(c)) return kDamage;
    const std::size_t end = RegularRunEnd(at);
    const std::string_view word = Word(at, end);
    if (word == "true" || word == "false" || word == "null") {
      ValueStarts(at);
      ValueEnded(end);
      return end;
    }
    if (!IsNumber(word)) return GarbledNumber(at, end);
    if (const std::size_t referenceEnd = ReferenceEnd(end); referenceEnd != kDamage) {
      ValueStarts(at);
      Reference(at, referenceEnd);
      ValueEnded(referenceEnd);
      return referenceEnd;
    }
    ValueStarts(at);
    ValueEnded(end);
    return end;
  }

  // A number whose last bytes were garbled ("5" and a flipped byte) keeps what is a number of
  // it, as readers take it; any other word is damage.
  std::size_t GarbledNumber(std::size_t at, std::size_t end) {
    const std::string_view word = Word(at, end);
    std::size_t prefix = word.front() == '+' || word.front() == '-' ? 1 : 0;
    while (prefix < word.size() && (IsDigit(word[prefix]) || word[prefix] == '.')) ++prefix;
    const std::string_view rest = word.substr(prefix);
    const bool letters = std::any_of(rest.begin(), rest.end(), [](char c) {
      return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    if (letters || !IsNumber(word.substr(0, prefix))) return kDamage;
    ValueStarts(at);
    Emit(at + prefix);
    from_ = end;
    Mend(ObjectMendKind::kValueCut, 0);
    ValueEnded(end);
    return end;
  }

  static bool IsNumber(std::string_view word) {
    std::size_t i = word.front() == '+' || word.front() == '-' ? 1 : 0;
    std::size_t digits = 0;
    bool point = false;
    for (; i < word.size(); ++i) {
      if (IsDigit(word[i])) {
        ++digits;
      } else if (word[i] == '.' && !point) {
        point = true;
      } else {
        return false;
      }
    }
    // An integer that does not fit 64 bits is no number to a strict reader.
    return digits > 0 && (point || digits <= kMaxIntegerDigits);
  }

  // A name's "#" must introduce two hexadecimal digits.
  bool NameEscapesWhole(std::size_t from, std::size_t to) {
    if (from >= to || !std::memchr(bytes_.data() + from, '#', to - from)) return true;  // as most
    for (std::size_t i = from; i < to; ++i) {
      if (bytes_[i] != '#') continue;
      if (i + 2 >= to || !IsHexDigit(At(i + 1)) || !IsHexDigit(At(i + 2))) return false;
      i += 2;
    }
    return true;
  }

  // After the integer that ends at `at`: the end of " G R" when a reference follows, else kDamage.
  std::size_t ReferenceEnd(std::size_t at) {
    std::size_t i = at;
    if (!IsPdfSpace(At(i))) return kDamage;
    while (IsPdfSpace(At(i))) ++i;
    const std::size_t generation = i;
    while (IsDigit(At(i))) ++i;
    if (i == generation || !IsPdfSpace(At(i))) return kDamage;
    while (IsPdfSpace(At(i))) ++i;
    if (At(i) != 'R' || IsRegular(At(i + 1))) return kDamage;
    return i + 1;
  }

  std::size_t Open(std::size_t at, bool dictionary) {
    if (frames_.size() >= limits::kMaxMendedDepth) return kDamage;
    ValueStarts(at);
    Frame frame;
    frame.dictionary = dictionary;
    if (!frames_.empty() && frames_.back().dictionary) frame.parentKey = frames_.back().key;
    frame.outermost = dictionary && frames_.empty();
    if (frames_.empty()) outermostWasDictionary_ = dictionary;
    const std::size_t width = dictionary ? 2 : 1;
    Emit(at + width);
    frame.openOut = out_.size();
    frame.firstEntry = entries_.size();
    frames_.push_back(frame);
    return at + width;
  }

  void PopFrame() {
    entries_.resize(frames_.back().firstEntry);
    frames_.pop_back();
  }

  void ValueStarts(std::size_t at) {
    anyValue_ = true;
    if (!frames_.empty() && frames_.back().dictionary) {
      Emit(at);
      frames_.back().valueOut = out_.size();
    }
  }

  // A value that ended at `end`: an entry of the outermost dictionary with an edit takes it.
  void ValueEnded(std::size_t end) {
    if (frames_.empty()) {
      valueEnd_ = end;
      return;
    }
    Frame& top = frames_.back();
    if (!top.dictionary || !top.awaitingValue) return;
    top.awaitingValue = false;
    Emit(end);
    if (const EntryEdit* edit = writing_ ? EditOf(top, top.key) : nullptr) {
      if (edit->value) {
        out_.resize(top.valueOut);
        out_ += *edit->value;
      } else {
        out_.resize(top.keyOut);
      }
    }
    entries_.push_back({top.key, top.keyOut, out_.size()});
  }

  // A key met twice: readers take the later value, and a strict one complains, so the earlier
  // entry is left out.
  void DropEarlierEntry(Frame& frame) {
    const auto first = entries_.begin() + static_cast<std::ptrdiff_t>(frame.firstEntry);
    const auto earlier = std::find_if(first, entries_.end(),
                                      [&frame](const Entry& e) { return e.key == frame.key; });
    if (earlier == entries_.end()) return;
    const std::size_t length = earlier->outEnd - earlier->outStart;
    if (writing_) out_.erase(earlier->outStart, length);
    for (auto later = earlier + 1; later != entries_.end(); ++later) {
      later->outStart -= length;
      later->outEnd -= length;
    }
    entries_.erase(earlier);
    Mend(ObjectMendKind::kDuplicateKey, 0);
  }

  // Writes the keys that the edits add to the outermost dictionary being closed.
  void Close(Frame& frame) {
    if (!frame.outermost || !writing_) return;
    std::string added;
    for (const EntryEdit& edit : edits_) {
      if (!edit.value || std::find(outermostKeys_.begin(), outermostKeys_.end(), edit.key) !=
                             outermostKeys_.end()) {
        continue;
      }
      added += " /" + edit.key + ' ' + *edit.value;
    }
    out_.insert(frame.openOut, added);
  }

  void Reference(std::size_t at, std::size_t end) {
    std::int64_t number = 0;
    for (std::size_t i = at; IsDigit(At(i)) && number <= kNumberCeiling; ++i) {
      number = number * 10 + (At(i) - '0');
    }
    Frame* top = frames_.empty() ? nullptr : &frames_.back();
    const std::string_view container = top ? std::string_view(top->parentKey) : std::string_view();
    const bool needsDictionary =
        top && (container == "Font" || container == "XObject" || container == "Contents");
    if (needsDictionary ? repair_.holdsDictionary(number) : repair_.holds(number)) return;
    // An entry that an edit rewrites anyway needs no mend of its own.
    if (top && top->dictionary && EditOf(*top, top->key)) return;
    if (!writing_) {
      Mend(ObjectMendKind::kReferenceNulled, number);  // the check ends here
      return;
    }
    Emit(at);
    from_ = end;
    if (top && top->dictionary && container == "Font" && repair_.fontReplacement != 0) {
      out_ += FormatDecimal(static_cast<std::uint64_t>(repair_.fontReplacement)) + " 0 R";
      Mend(ObjectMendKind::kFontReplaced, number);
    } else if (top && top->dictionary && container == "XObject" && repair_.formReplacement != 0) {
      out_ += FormatDecimal(static_cast<std::uint64_t>(repair_.formReplacement)) + " 0 R";
      Mend(ObjectMendKind::kXObjectReplaced, number);
    } else if (top && !top->dictionary && container == "Contents") {
      Mend(ObjectMendKind::kContentDropped, number);
    } else if (top && top->dictionary) {
      // The entry is left out: to a reader, an entry whose value is null does not exist.
      out_.resize(top->keyOut);
      Mend(ObjectMendKind::kReferenceNulled, number);
    } else {
      out_ += "null";
      Mend(ObjectMendKind::kReferenceNulled, number);
    }
  }

  // The damage at `at`: the output ends before it, with an entry that lost its value left out
  // and every open container closed.
  void CutAt(std::size_t at) {
    Mend(ObjectMendKind::kValueCut, 0);
    Emit(at);
    auto trim = [this] {
      while (!out_.empty() && IsPdfSpace(static_cast<unsigned char>(out_.back()))) out_.pop_back();
    };
    trim();
    while (!frames_.empty()) {
      Frame& top = frames_.back();
      if (top.dictionary) {
        if (top.awaitingValue) {
          out_.resize(top.keyOut);
          trim();
        }
        Close(top);
        out_ += " >>";
      } else {
        out_ += " ]";
      }
      PopFrame();
      // The closed container is its parent's value, as far as it got.
      if (!frames_.empty()) frames_.back().awaitingValue = false;
    }
  }

  static constexpr std::size_t kDamage = static_cast<std::size_t>(-1);
  static constexpr std::size_t kKeptEntries = 4096;
  static constexpr std::size_t kMaxIntegerDigits = 18;
  static MenderLists& Lists() {
    thread_local MenderLists lists;
    return lists;
  }
  // Reference numbers beyond this are out of any object's range.
  static constexpr std::int64_t kNumberCeiling = std::int64_t{1} << 40;

  std::span<const std::uint8_t> bytes_;
  bool complete_;
  const ReferenceRepair& repair_;
  const std::vector<EntryEdit>& edits_;
  bool rewrite_;
  bool writing_;  // false while only checking: no output, and the first damage ends the reading
  std::vector<Frame>& frames_;
  std::vector<Entry>& entries_;  // of the open dictionaries, innermost last
  // Every key of the outermost dictionary, for the edits (a dropped entry's key included).
  std::vector<std::string_view>& outermostKeys_;
  std::string out_;
  std::size_t from_ = 0;
  std::size_t valueEnd_ = 0;
  bool anyValue_ = false;
  bool outermostWasDictionary_ = false;
  bool damaged_ = false;
  bool ranOut_ = false;  // the token just read looked past the bytes given
  std::vector<ObjectMend> mends_;
};

}  // namespace

MendedValue MendValue(std::span<const std::uint8_t> bytes, bool complete,
                      const ReferenceRepair& repair, const std::vector<EntryEdit>& edits,
                      bool rewrite) {
  if (!rewrite) {
    MendedValue checked = Mender(bytes, complete, repair, edits, false, false).Run();
    if (checked.verdict != MendedValue::Verdict::kMended) return checked;
  }
  return Mender(bytes, complete, repair, edits, rewrite, true).Run();
}

bool ValueStarts(std::span<const std::uint8_t> bytes, bool whole) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (IsPdfSpace(bytes[at])) {
      ++at;
    } else if (bytes[at] == '%') {
      while (at < bytes.size() && !IsLineEnd(bytes[at])) ++at;
    } else {
      break;
    }
  }
  if (at == bytes.size()) return !whole;
  const int c = bytes[at];
  if (c == '/' || c == '[' || c == '(' || c == '<' || c == '+' || c == '-' || c == '.' ||
      IsDigit(c)) {
    return true;
  }
  const std::string_view rest(reinterpret_cast<const char*>(bytes.data()) + at, bytes.size() - at);
  for (const std::string_view word : {"true", "false", "null"}) {
    if (rest.starts_with(word) && (rest.size() == word.size() || !IsRegular(rest[word.size()]))) {
      return true;
    }
  }
  return false;
}

}  // namespace tarnwick
