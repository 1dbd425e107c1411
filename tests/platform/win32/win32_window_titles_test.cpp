// Window titles as another process sees them: the probe program looks for the title with
// FindWindowW, as a second instance of the program does.
#include "win32_window_titles.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "probe.h"
#include "win32_text.h"

namespace tarnwick {
namespace {

using test::RunProbe;

// Unique to this run, so that no other window and no other test program matches by chance.
std::string TitleOf(const std::string& name) {
  return " Tarnwick test " + name + " " + std::to_string(GetCurrentProcessId());
}

int LookFromAnotherProcess(const std::string& title) {
  return RunProbe({L"find-title", Wide(title)});
}

class WindowTitlesTest : public ::testing::Test {
 protected:
  void TearDown() override { titles_.WithdrawAll(); }

  Win32WindowTitles titles_;
};

TEST_F(WindowTitlesTest, AnotherProcessFindsTheTitleWhileItsClaimLives) {
  const std::string title = TitleOf("main");
  EXPECT_EQ(LookFromAnotherProcess(title), probe::kNotFound);
  auto claim = titles_.Show(title);
  ASSERT_NE(claim, nullptr);
  EXPECT_EQ(LookFromAnotherProcess(title), probe::kFound);
  EXPECT_EQ(LookFromAnotherProcess(title + " Help"), probe::kNotFound);
  claim.reset();
  EXPECT_EQ(LookFromAnotherProcess(title), probe::kNotFound);
}

TEST_F(WindowTitlesTest, TheTitleIsAHiddenTopLevelWindowOfThisProcess) {
  const std::string title = TitleOf("hidden");
  auto claim = titles_.Show(title);
  ASSERT_NE(claim, nullptr);
  HWND window = FindWindowW(nullptr, Wide(title).c_str());
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  EXPECT_EQ(owner, GetCurrentProcessId());
}

TEST_F(WindowTitlesTest, AnotherProcessNoLongerFindsWithdrawnTitles) {
  const std::string main = TitleOf("main");
  const std::string help = TitleOf("help");
  auto mainClaim = titles_.Show(main);
  auto helpClaim = titles_.Show(help);
  ASSERT_NE(mainClaim, nullptr);
  ASSERT_NE(helpClaim, nullptr);
  titles_.WithdrawAll();
  EXPECT_EQ(LookFromAnotherProcess(main), probe::kNotFound);
  EXPECT_EQ(LookFromAnotherProcess(help), probe::kNotFound);
}

// A window dies with the thread that made it; the claims must not.
TEST_F(WindowTitlesTest, AClaimMadeOnAThreadThatEndedStaysAndGoesFromAnyThread) {
  const std::string title = TitleOf("thread");
  std::unique_ptr<WindowTitles::Claim> claim;
  std::thread([&] { claim = titles_.Show(title); }).join();
  ASSERT_NE(claim, nullptr);
  EXPECT_EQ(LookFromAnotherProcess(title), probe::kFound);
  std::thread([&] { claim.reset(); }).join();
  EXPECT_EQ(LookFromAnotherProcess(title), probe::kNotFound);

  auto other = titles_.Show(title);
  std::thread([&] { titles_.WithdrawAll(); }).join();
  EXPECT_EQ(LookFromAnotherProcess(title), probe::kNotFound);
}

TEST_F(WindowTitlesTest, TitlesBeyondAsciiAreFoundAsTheyAre) {
  const std::string title = TitleOf("T\xC3\xA4rnwick \xE2\x80\x94 Hilfe");
  auto claim = titles_.Show(title);
  ASSERT_NE(claim, nullptr);
  EXPECT_EQ(LookFromAnotherProcess(title), probe::kFound);
  EXPECT_EQ(LookFromAnotherProcess(TitleOf("Tarnwick \xE2\x80\x94 Hilfe")), probe::kNotFound);
}

}  // namespace
}  // namespace tarnwick
