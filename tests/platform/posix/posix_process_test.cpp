// What the C runtime sees of the POSIX environment; the contract that every system keeps is
// tested beside.
#include <gtest/gtest.h>

#include <cstdlib>

#include "posix_process_services.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

TEST(EnvironmentTest, SetValuesAreSeenByTheCRuntime) {
  test::ScopedEnvironment restored("TARNWICK_TEST_VALUE", "old");
  PosixEnvironment().Set("TARNWICK_TEST_VALUE", " with spaces = and more ");
  EXPECT_STREQ(std::getenv("TARNWICK_TEST_VALUE"), " with spaces = and more ");
}

}  // namespace
}  // namespace tarnwick
