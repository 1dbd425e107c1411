#pragma once

#include <cstdint>
#include <optional>

#include "source_reader.h"
#include "string_ends.h"

namespace tarnwick {

// The trailer rule's walk through a trailer dictionary. From the "trailer" keyword a five-byte
// window slides through the source one byte at a time; strings are stepped over, the keys Size,
// Root, Encrypt and ID are read where the window starts with them (at any depth), and the walk
// ends at the first '>' outside a string and outside the dictionaries nested in the trailer's
// own, or at the end of the file.
//
// Each state (where the window is read, how deep the walk is) determines the rest of the walk,
// so two walks that reach the same state go on together. The last walk's path is kept with a
// cursor that moves forward on demand: a later "trailer" that the path passes through in a
// walk's starting state is answered from what the path already found, and a fresh walk stops as
// soon as it joins the kept path. Files full of "trailer" keywords and no '>' then cost one pass,
// not one pass per keyword. Walks that never meet (nested "<<" without end between the keywords)
// share a budget of steps in proportion to the file; past it a walk ends where it stands.
class TrailerWalk {
 public:
  // A key read on the way, at the state whose step read it.
  struct Found {
    std::int64_t state = -1;    // -1: not found
    std::int32_t value = 0;     // the number after Size, Root or Encrypt; for ID, unused
    std::int64_t idKeyEnd = 0;  // for ID: the byte after the two letters
  };
  struct Outcome {
    Found size, root, encrypt, id;  // the last of each, or not found
  };

  explicit TrailerWalk(SourceReader& source);

  Outcome Walk(std::int64_t trailerKeyword);

 private:
  struct State {
    std::int64_t at = 0;
    // The trailer's own "<<" has been met; nested dictionaries count from there.
    bool opened = false;
    std::int64_t depth = 0;
    bool operator==(const State&) const = default;
  };
  struct Path {
    State cursor;
    bool ended = false;
    Outcome found;
  };

  // The state after `state`, or nothing when the walk ends there. Keys read go into `found`.
  std::optional<State> Step(State state, Outcome* found);
  void Advance(Path& path, std::int64_t target);
  // Reads the number of a value run at `from` whose bytes satisfy `inRun`; the window's first
  // bytes are overwritten with the run's first bytes when `window` is given.
  template <typename InRun>
  std::int32_t ReadValue(std::int64_t from, InRun inRun, std::uint8_t* window,
                         std::size_t& windowValid);

  SourceReader& source_;
  StringEnds strings_;
  std::optional<Path> path_;
  std::int64_t stepsLeft_;
};

}  // namespace tarnwick
