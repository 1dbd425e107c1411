#include "navigation_events.h"

#include <exdispid.h>
#include <gtest/gtest.h>
#include <wrl/client.h>

namespace tarnwick::win32::browser {
namespace {

struct EventCase {
  const char* name;
  DISPID id;
  int completions;
};

// CTest lists each row by its name rather than by its bytes.
void PrintTo(const EventCase& row, std::ostream* out) { *out << row.name; }

class NavigationEventsTest : public ::testing::TestWithParam<EventCase> {};

// The control sends many events to the same sink; only a finished navigation completes one.
TEST_P(NavigationEventsTest, OnlyNavigateCompleteCompletes) {
  int completions = 0;
  const Microsoft::WRL::ComPtr<NavigationEvents> events =
      new NavigationEvents([&completions] { ++completions; });
  DISPPARAMS none{};
  events->Invoke(GetParam().id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                 nullptr, nullptr);
  EXPECT_EQ(completions, GetParam().completions);
}

INSTANTIATE_TEST_SUITE_P(
    Events, NavigationEventsTest,
    ::testing::Values(EventCase{"NavigateComplete", DISPID_NAVIGATECOMPLETE2, 1},
                      EventCase{"BeforeNavigate", DISPID_BEFORENAVIGATE2, 0},
                      EventCase{"DocumentComplete", DISPID_DOCUMENTCOMPLETE, 0},
                      EventCase{"NavigateError", DISPID_NAVIGATEERROR, 0},
                      EventCase{"DownloadComplete", DISPID_DOWNLOADCOMPLETE, 0}),
    [](const ::testing::TestParamInfo<EventCase>& testCase) { return testCase.param.name; });

}  // namespace
}  // namespace tarnwick::win32::browser
