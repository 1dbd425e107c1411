#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tarnwick::win32::test {

// Names each row of a parameterised table by its `name` field.
struct CaseName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
    return row.param.name;
  }
};

// Prints a row as its name, so that CTest lists the cases by name rather than by their bytes.
// A test file brings it in with `using test::PrintTo;` beside its rows.
template <typename Row>
requires requires(const Row& row) { row.name; }
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

}  // namespace tarnwick::win32::test
