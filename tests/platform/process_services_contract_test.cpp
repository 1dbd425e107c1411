// What ending the process and its environment promise on every system.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "native_platform.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

std::filesystem::path gExitMarker;  // written by an atexit handler, if one runs

template <class SystemEnd>
class ProcessEndDeathTest : public ::testing::Test {};

using Ends = ::testing::Types<NativeProcessEnd>;
TYPED_TEST_SUITE(ProcessEndDeathTest, Ends);

TYPED_TEST(ProcessEndDeathTest, EndsAtOnceWithTheCodeAndWithoutShutdownHandlers) {
  // Where the child runs this test again from its start and leaves without unwinding, the
  // marker needs a name that both know, in no folder of its own that the child would leave.
  gExitMarker = std::filesystem::temp_directory_path() / "tarnwick-test-atexit-ran";
  std::error_code ignored;
  std::filesystem::remove(gExitMarker, ignored);
  EXPECT_EXIT(
      {
        std::atexit([] { test::WriteFile(gExitMarker, ""); });
        TypeParam().EndProcess(7);
      },
      ::testing::ExitedWithCode(7), "");
  EXPECT_FALSE(std::filesystem::exists(gExitMarker));
}

template <class SystemEnvironment>
class EnvironmentContract : public ::testing::Test {
 protected:
  test::ScopedEnvironment restored_{"TARNWICK_TEST_VALUE", "old"};
  SystemEnvironment environment_;
};

using Environments = ::testing::Types<NativeEnvironment>;
TYPED_TEST_SUITE(EnvironmentContract, Environments);

TYPED_TEST(EnvironmentContract, SetValuesAreSeenByTheProcessAndUnsetOnesAreNothing) {
  auto& environment = this->environment_;
  environment.Set("TARNWICK_TEST_VALUE", " with spaces = and more ");
  EXPECT_STREQ(std::getenv("TARNWICK_TEST_VALUE"), " with spaces = and more ");
  environment.Set("TARNWICK_TEST_VALUE", " with spaces = and Ünïcödé ✓ ");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_VALUE"), " with spaces = and Ünïcödé ✓ ");
  const std::string longValue(5000, 'v');
  environment.Set("TARNWICK_TEST_VALUE", longValue);
  EXPECT_EQ(environment.Get("TARNWICK_TEST_VALUE"), longValue);
  environment.Set("TARNWICK_TEST_VALUE", "");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_VALUE"), "");
  EXPECT_EQ(environment.Get("TARNWICK_TEST_SURELY_UNSET"), std::nullopt);
}

}  // namespace
}  // namespace tarnwick
