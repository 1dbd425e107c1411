#include "trailer_walk.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "byte_classes.h"
#include "decimal.h"
#include "engine_limits.h"

namespace tarnwick {

namespace {

// The number parser looks at no more than this many bytes of a value run.
constexpr std::size_t kValueReach = 1024;
constexpr std::size_t kWindowSize = 5;

bool StartsWith(const std::uint8_t* window, std::size_t valid, std::string_view word) {
  return word.size() <= valid && std::memcmp(window, word.data(), word.size()) == 0;
}

TrailerWalk::Found Later(const TrailerWalk::Found& a, const TrailerWalk::Found& b) {
  return b.state > a.state ? b : a;
}

}  // namespace

TrailerWalk::TrailerWalk(SourceReader& source)
    : source_(source),
      strings_(source),
      stepsLeft_(limits::kTrailerStepsFloor + limits::kTrailerStepsPerSourceByte * source.Length()) {}

template <typename InRun>
std::int32_t TrailerWalk::ReadValue(std::int64_t from, InRun inRun, std::uint8_t* window,
                                    std::size_t& windowValid) {
  // Only the run's first bytes matter: the window takes five, and the number ends at its first
  // byte that is not white space, sign or digit. Reading stops once both are known.
  std::uint8_t run[kValueReach];
  std::size_t n = 0;
  enum { kBlanks, kSigned, kDigits, kDone } parse = kBlanks;
  while (n < kValueReach && (n < kWindowSize || parse != kDone)) {
    const int c = source_.ByteAt(from + static_cast<std::int64_t>(n));
    if (c < 0 || !inRun(c)) break;
    run[n++] = static_cast<std::uint8_t>(c);
    if (parse == kBlanks && IsCLocaleSpace(c)) continue;
    if (parse == kBlanks && (c == '+' || c == '-'))
      parse = kSigned;
    else if (parse != kDone && IsDigit(c))
      parse = kDigits;
    else
      parse = kDone;
  }
  if (window) {
    const std::size_t copied = std::min(n, kWindowSize);
    std::memcpy(window, run, copied);
    windowValid = std::max(windowValid, copied);
  }
  return ParseDecimal(run, n);
}

std::optional<TrailerWalk::State> TrailerWalk::Step(State state, Outcome* found) {
  const std::int64_t length = source_.Length();
  std::uint8_t window[kWindowSize];
  std::size_t valid = source_.Read(state.at, kWindowSize, window);
  // Strings are stepped over, so that a '>' inside them (the end of a hexadecimal /ID, say) does
  // not hide the keys after them. A "<<" is stepped over as a whole so that it is not taken for
  // a string; the first one met is the trailer's own, each later one opens a nested dictionary,
  // and the ">>" that closes a nested one is stepped over too.
  if (StartsWith(window, valid, "<<")) {
    if (state.opened) ++state.depth;
    state.opened = true;
    state.at = std::min(state.at + 2, length);
    return state;
  }
  if (state.depth > 0 && StartsWith(window, valid, ">>")) {
    --state.depth;
    state.at = std::min(state.at + 2, length);
    return state;
  }
  if (StartsWith(window, valid, "<")) {
    state.at = strings_.AfterHexString(state.at);
    return state;
  }
  if (StartsWith(window, valid, "(")) {
    state.at = strings_.AfterLiteralString(state.at);
    return state;
  }
  if (state.at >= length) return std::nullopt;
  // Only a '>' of the trailer's own dictionary ends the walk.
  if (state.depth == 0 && ((valid > 0 && window[0] == '>') || (valid > 1 && window[1] == '>'))) {
    return std::nullopt;
  }
  auto record = [at = state.at](Found& slot, std::int32_t value) { slot = {at, value, 0}; };
  auto notSpaceOrCr = [](int c) { return c != ' ' && c != '\r'; };
  std::int64_t w = state.at;
  // Keys are matched without their slash. The values read for Size and Root overwrite the
  // window's start, and the key tests after them see that.
  if (StartsWith(window, valid, "Size")) {
    record(found->size, ReadValue(w + 5, IsDigit, window, valid));
    w += 5;
  }
  if (StartsWith(window, valid, "Root")) {
    record(found->root, ReadValue(w + 5, notSpaceOrCr, window, valid));
    w += 5;
  }
  if (StartsWith(window, valid, "Encry")) {
    std::size_t unused = 0;
    record(found->encrypt, ReadValue(w + 8, notSpaceOrCr, nullptr, unused));
    w += 8;
  }
  if (StartsWith(window, valid, "ID")) {
    found->id = {state.at, 0, w + 2};
    w += (valid > 2 && window[2] == ' ') ? 3 : 2;
  }
  state.at = w + 1;
  return state;
}

void TrailerWalk::Advance(Path& path, std::int64_t target) {
  for (; !path.ended && path.cursor.at < target && stepsLeft_ > 0; --stepsLeft_) {
    Outcome ignored;
    const auto next = Step(path.cursor, &ignored);
    if (next)
      path.cursor = *next;
    else
      path.ended = true;
  }
}

TrailerWalk::Outcome TrailerWalk::Walk(std::int64_t trailerKeyword) {
  auto suffixFrom = [](const Outcome& all, std::int64_t state) {
    auto keep = [state](const Found& f) { return f.state >= state ? f : Found{}; };
    return Outcome{keep(all.size), keep(all.root), keep(all.encrypt), keep(all.id)};
  };
  const State start{trailerKeyword, false, 0};
  if (path_) {
    Advance(*path_, trailerKeyword);
    if (path_->cursor == start) return suffixFrom(path_->found, trailerKeyword);
  }
  // A fresh walk, which takes over what the kept path found once the two meet.
  Outcome own;
  State state = start;
  for (; stepsLeft_ > 0; --stepsLeft_) {
    if (path_) {
      Advance(*path_, state.at);
      if (path_->cursor == state) {
        const Outcome rest = suffixFrom(path_->found, state.at);
        own = {Later(own.size, rest.size), Later(own.root, rest.root),
               Later(own.encrypt, rest.encrypt), Later(own.id, rest.id)};
        break;
      }
    }
    const auto next = Step(state, &own);
    if (!next) break;
    state = *next;
  }
  path_ = Path{start, false, own};
  return own;
}

}  // namespace tarnwick
