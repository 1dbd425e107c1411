// The program registers the common control classes before it makes a window; the tests do too.
#include <windows.h>
// The system headers below build on the types of windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

class CommonControlsEnvironment final : public testing::Environment {
 public:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_WIN95_CLASSES;
    ASSERT_TRUE(InitCommonControlsEx(&classes));
  }
};

const testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new CommonControlsEnvironment);

}  // namespace
