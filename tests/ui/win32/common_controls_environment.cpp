// The program registers the common control classes before it makes a window; the tests do too.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

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
