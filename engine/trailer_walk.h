#pragma once

#include <cstdint>
#include <optional>

#include "source_reader.h"
#include "string_ends.h"

namespace tarnwick {

// The trailer rule's walk through a trailer dictionary. From the "trailer" keyword a five-byte
// window slides through the source one byte at a time; strings are stepped over, the keys Size,
// Root, Encrypt and ID are read where the window starts with them, and the walk ends at the
// first '>' outside a string (the end of a nested dictionary included) or at the end of the file.
//
// Each position the window is read at (a state) determines the rest of the walk, so two walks
// that reach the same state go on together. The last walk's path is kept with a cursor that
// moves forward on demand: a later "trailer" that the path passes through is answered from what
// the path already found, and a fresh walk stops as soon as it joins the kept path. Files full of
// "trailer" keywords and no '>' then cost one pass, not one pass per keyword.
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

  explicit TrailerWalk(SourceReader& source) : source_(source), strings_(source) {}

  Outcome Walk(std::int64_t trailerKeyword);

 private:
  struct Path {
    std::int64_t cursor = 0;
    bool ended = false;
    Outcome found;
  };

  // The state after `state`, or nothing when the walk ends there. Keys read go into `found`.
  std::optional<std::int64_t> Step(std::int64_t state, Outcome* found);
  void Advance(Path& path, std::int64_t target);
  // Reads the number of a value run at `from` whose bytes satisfy `inRun`; the window's first
  // bytes are overwritten with the run's first bytes when `window` is given.
  template <typename InRun>
  std::int32_t ReadValue(std::int64_t from, InRun inRun, std::uint8_t* window,
                         std::size_t& windowValid);

  SourceReader& source_;
  StringEnds strings_;
  std::optional<Path> path_;
};

}  // namespace tarnwick
