// What window titles promise on every system, as this process sees them; how other processes
// see them is each system's own test.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <type_traits>

#include "native_platform.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

// The titles of this system, given the environment where they need it to find their folder.
template <class Titles>
std::unique_ptr<Titles> MakeTitles(Environment& environment) {
  if constexpr (std::is_constructible_v<Titles, Environment&>) {
    return std::make_unique<Titles>(environment);
  } else {
    return std::make_unique<Titles>();
  }
}

template <class Titles>
class WindowTitlesContract : public ::testing::Test {
 protected:
  ~WindowTitlesContract() override { titles_->WithdrawAll(); }

  // Unique to this run, so that no other window and no other test program matches by chance.
  std::string Title(const std::string& name) const {
    return " Tarnwick test " + name + " " + suffix_;
  }

  test::TempFolder runtime_;
  // Where the titles live in the runtime folder, they live in the test's own.
  test::ScopedEnvironment runtimeVariable_{"XDG_RUNTIME_DIR", runtime_.Path()};
  NativeEnvironment environment_;
  std::unique_ptr<Titles> titles_ = MakeTitles<Titles>(environment_);
  std::string suffix_ = std::to_string(std::random_device()());
};

using Systems = ::testing::Types<NativeWindowTitles>;
TYPED_TEST_SUITE(WindowTitlesContract, Systems);

TYPED_TEST(WindowTitlesContract, ATitleExistsWhileItsClaimLives) {
  WindowTitles& titles = *this->titles_;
  const std::string title = this->Title("main");
  EXPECT_FALSE(titles.Exists(title));
  auto claim = titles.Show(title);
  ASSERT_NE(claim, nullptr);
  EXPECT_TRUE(titles.Exists(title));
  EXPECT_FALSE(titles.Exists(title + " Help"));
  claim.reset();
  EXPECT_FALSE(titles.Exists(title));
}

TYPED_TEST(WindowTitlesContract, TwoClaimsOfOneTitleLastUntilBothAreGone) {
  WindowTitles& titles = *this->titles_;
  const std::string title = this->Title("twice");
  auto first = titles.Show(title);
  auto second = titles.Show(title);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first.reset();
  EXPECT_TRUE(titles.Exists(title));
  second.reset();
  EXPECT_FALSE(titles.Exists(title));
}

// A program that ends without unwinding withdraws all its titles at once; its claims, should
// they still be destroyed, touch nothing, not even a newer claim of the same title.
TYPED_TEST(WindowTitlesContract, WithdrawingAllRemovesEveryTitleAndLaterClaimsWorkAgain) {
  WindowTitles& titles = *this->titles_;
  const std::string main = this->Title("main");
  const std::string help = this->Title("help");
  auto mainClaim = titles.Show(main);
  auto helpClaim = titles.Show(help);
  ASSERT_NE(mainClaim, nullptr);
  ASSERT_NE(helpClaim, nullptr);
  titles.WithdrawAll();
  EXPECT_FALSE(titles.Exists(main));
  EXPECT_FALSE(titles.Exists(help));
  auto again = titles.Show(main);
  ASSERT_NE(again, nullptr);
  mainClaim.reset();
  helpClaim.reset();
  EXPECT_TRUE(titles.Exists(main));
}

}  // namespace
}  // namespace tarnwick
