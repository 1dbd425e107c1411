#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "desktop_harness.h"

namespace tarnwick::test {

// A save that fails while the large file is being written: what makes it fail, and what the
// failure leaves. Systems differ in the faults they can make, so each gives its own rows.
struct SaveFailure {
  const char* name;
  bool saveAll;
  std::function<void(DesktopHarness&)> start;  // called once the large file is being written
  std::function<void()> end;                   // called after the program ended
  bool removesTheFolder;  // else the older copy must keep its bytes and no part file be left
  std::string reason;
};

inline void PrintTo(const SaveFailure& failure, std::ostream* out) { *out << failure.name; }

class SavingFailure : public testing::TestWithParam<SaveFailure> {};

}  // namespace tarnwick::test
