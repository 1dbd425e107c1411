#include <gtest/gtest.h>

#include <filesystem>

#include "child_program.h"
#include "desktop_harness.h"

namespace tarnwick::test {
namespace {

namespace fs = std::filesystem;

int RunFileDelete(const std::string& copy, const std::string& folder) {
  return RunProgram(TARNWICK_FILE_DELETE_BINARY, {copy, folder}).status;
}

TEST(FileDelete, DeletesAWorkCopyWithSpacesInItsNameAndItsFolder) {
  DesktopHarness h;
  std::string error;
  const std::string folder = *PrivateTemporaryFolder(error) + "7-8-9-1-2-2026";
  fs::create_directories(folder);
  const std::string copy = folder + "/my report (final).pdf";
  WriteFile(copy, "copy");
  fs::permissions(copy, fs::perms::owner_read);
  EXPECT_EQ(RunFileDelete(copy, folder), 0);
  EXPECT_FALSE(fs::exists(folder));
}

// The desktop program hands over the copy's short path, which differs from the long one on
// Windows only.
TEST(FileDelete, DeletesAWorkCopyGivenByItsShortPath) {
  DesktopHarness h;
  std::string error;
  const std::string folder = *PrivateTemporaryFolder(error) + "7-8-9-1-2-2026";
  fs::create_directories(folder);
  const std::string copy = folder + "/a rather long report name.pdf";
  WriteFile(copy, "copy");
  EXPECT_EQ(RunFileDelete(h.files.ShortPath(copy), folder), 0);
  EXPECT_FALSE(fs::exists(folder));
}

TEST(FileDelete, RefusesAnythingThatIsNotAWorkCopy) {
  DesktopHarness h;
  const std::string mine = h.WriteSource("mine.pdf");
  EXPECT_EQ(RunFileDelete(mine, h.sourceFolder), 2);
  std::string error;
  const std::string folder = *PrivateTemporaryFolder(error) + "7-8-9-1-2-2026";
  fs::create_directories(folder);
  WriteFile(folder + "/copy.pdf", "copy");
  EXPECT_EQ(RunFileDelete(folder + "/copy.pdf", h.sourceFolder), 2) << "the folder must match";
  EXPECT_TRUE(fs::exists(mine));
  EXPECT_TRUE(fs::exists(folder + "/copy.pdf"));
}

}  // namespace
}  // namespace tarnwick::test
