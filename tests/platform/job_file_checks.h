#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "file_layer.h"

namespace tarnwick::test {

// What the file layers say of a file that a repair job holds.
inline constexpr char kHeldByJob[] = "the file is held by a running repair job";

inline bool Write(OutputFile& file, const std::string& bytes) {
  return file.Append(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Everything in the source; a failed read fails the running test.
inline std::string ReadAll(SourceFile& file) {
  std::string bytes(static_cast<std::size_t>(file.Length()), '\0');
  std::size_t got = 0;
  if (!file.ReadAt(0, bytes.size(), reinterpret_cast<std::uint8_t*>(bytes.data()), got)) {
    ADD_FAILURE() << file.ErrorText();
  }
  bytes.resize(got);
  return bytes;
}

// The name of a copy still being written, beside the name it will take.
inline bool IsPartName(const std::string& name) {
  return name.starts_with(".tarnwick-") && name.ends_with(".part");
}

}  // namespace tarnwick::test
