// Window titles as other processes see them: forked copies of the test stand for the second
// instance of the program.
#include "posix_window_titles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "child_process.h"
#include "posix_process_services.h"
#include "temp_folder.h"

namespace tarnwick {
namespace {

using test::ChildProcess;
using test::RunInChild;
using test::Signal;

constexpr char kTitle[] = "Tarnwick PDF Repair";

class WindowTitlesTest : public ::testing::Test {
 protected:
  std::string SocketFolder() const { return runtime_.File("tarnwick"); }
  std::ptrdiff_t SocketsInFolder() const {
    return std::distance(std::filesystem::directory_iterator(SocketFolder()),
                         std::filesystem::directory_iterator());
  }

  test::TempFolder runtime_;
  test::ScopedEnvironment runtimeVariable_{"XDG_RUNTIME_DIR", runtime_.Path()};
  PosixEnvironment environment_;
  PosixWindowTitles titles_{environment_};
};

TEST_F(WindowTitlesTest, AClaimIsASocketInAFolderThatGoesWithTheLastOne) {
  auto claim = titles_.Show(kTitle);
  ASSERT_NE(claim, nullptr);
  EXPECT_EQ(SocketsInFolder(), 1);
  claim.reset();
  EXPECT_FALSE(std::filesystem::exists(SocketFolder())) << "the folder goes with its last socket";
}

TEST_F(WindowTitlesTest, WithdrawingAllRemovesEverySocketAndTheFolder) {
  auto main = titles_.Show(kTitle);
  auto help = titles_.Show("Tarnwick PDF Repair Help");
  ASSERT_NE(main, nullptr);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(SocketsInFolder(), 2);
  titles_.WithdrawAll();
  EXPECT_FALSE(std::filesystem::exists(SocketFolder()));
  main.reset();
  help.reset();
  auto again = titles_.Show(kTitle);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(SocketsInFolder(), 1);
}

TEST_F(WindowTitlesTest, AnotherProcessSeesTheTitleAndCannotClaimIt) {
  auto claim = titles_.Show(kTitle);
  ASSERT_NE(claim, nullptr);
  EXPECT_EQ(RunInChild([&] {
              PosixWindowTitles other(environment_);
              if (!other.Exists(kTitle)) return 1;
              if (other.Show(kTitle) != nullptr) return 2;
              return other.Exists("Some other window") ? 3 : 0;
            }),
            0);
  claim.reset();
  EXPECT_EQ(RunInChild([&] { return PosixWindowTitles(environment_).Exists(kTitle) ? 1 : 0; }), 0);
}

TEST_F(WindowTitlesTest, TheTitleOfAnotherProcessGoesWithItAndItsStaleSocketIsReplaced) {
  Signal shown;
  Signal mayEnd;
  ChildProcess other([&] {
    auto claim = PosixWindowTitles(environment_).Show(kTitle);
    if (claim == nullptr) return 1;
    shown.Give();
    mayEnd.Await();
    ::_exit(0);  // ends without withdrawing: the socket file stays behind
  });
  ASSERT_TRUE(shown.Await());
  EXPECT_TRUE(titles_.Exists(kTitle));
  EXPECT_EQ(titles_.Show(kTitle), nullptr);
  mayEnd.Give();
  ASSERT_EQ(other.Wait(), 0);

  EXPECT_EQ(SocketsInFolder(), 1);
  EXPECT_FALSE(titles_.Exists(kTitle));
  auto claim = titles_.Show(kTitle);
  ASSERT_NE(claim, nullptr);
  EXPECT_TRUE(titles_.Exists(kTitle));
  claim.reset();
  EXPECT_FALSE(std::filesystem::exists(SocketFolder()));
}

TEST_F(WindowTitlesTest, LongTitlesDifferingOnlyAtTheEndAreDistinct) {
  const std::string title(5000, 'x');
  auto claim = titles_.Show(title + "A");
  ASSERT_NE(claim, nullptr);
  EXPECT_TRUE(titles_.Exists(title + "A"));
  EXPECT_FALSE(titles_.Exists(title + "B"));
  EXPECT_FALSE(titles_.Exists(title));
}

TEST(WindowTitlesFolderTest, WithoutARuntimeFolderTheTitlesLiveInThePrivateTemporaryFolder) {
  test::TempFolder temporary;
  test::ScopedEnvironment runtime("XDG_RUNTIME_DIR", temporary.File("missing"));
  test::ScopedEnvironment tmpdir("TMPDIR", temporary.Path());
  PosixEnvironment environment;
  PosixWindowTitles titles(environment);
  auto claim = titles.Show(kTitle);
  ASSERT_NE(claim, nullptr);
  EXPECT_TRUE(titles.Exists(kTitle));
  const auto folder = temporary / ("tarnwick-" + std::to_string(::getuid())) / "titles";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace tarnwick
