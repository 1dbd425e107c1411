#include "navigation_events.h"

#include <exdisp.h>
#include <exdispid.h>
#include <gtest/gtest.h>

#include <memory>

namespace tarnwick::win32::browser {
namespace {

struct EventCase {
  const char* name;
  DISPID id;
  int completions;
};

class NavigationEventsTest : public ::testing::TestWithParam<EventCase> {};

// The control sends many events to the same sink; only a finished navigation completes one.
TEST_P(NavigationEventsTest, OnlyNavigateCompleteCompletes) {
  int completions = 0;
  auto* events = new NavigationEvents([&completions] { ++completions; });
  DISPPARAMS none{};
  events->Invoke(GetParam().id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr,
                 nullptr, nullptr);
  EXPECT_EQ(completions, GetParam().completions);
  events->Release();
}

INSTANTIATE_TEST_SUITE_P(
    Events, NavigationEventsTest,
    ::testing::Values(EventCase{"NavigateComplete", DISPID_NAVIGATECOMPLETE2, 1},
                      EventCase{"BeforeNavigate", DISPID_BEFORENAVIGATE2, 0},
                      EventCase{"DocumentComplete", DISPID_DOCUMENTCOMPLETE, 0},
                      EventCase{"NavigateError", DISPID_NAVIGATEERROR, 0},
                      EventCase{"DownloadComplete", DISPID_DOWNLOADCOMPLETE, 0}),
    [](const ::testing::TestParamInfo<EventCase>& testCase) { return testCase.param.name; });

// The connection point asks for the events' interface by its own id before it keeps the sink,
// and lets go of it at Unadvise: the last release must free the callback and what it holds.
TEST(NavigationEventsLifetimeTest, AnswersAsTheEventInterfaceAndFreesTheCallbackAtLastRelease) {
  auto token = std::make_shared<int>(0);
  auto* events = new NavigationEvents([token] {});
  IDispatch* asEvents = nullptr;
  ASSERT_EQ(events->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&asEvents)),
            S_OK);
  EXPECT_EQ(asEvents, static_cast<IDispatch*>(events));
  IUnknown* other = nullptr;
  EXPECT_EQ(events->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&other)),
            E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  asEvents->Release();
  EXPECT_EQ(token.use_count(), 2);
  events->Release();
  EXPECT_EQ(token.use_count(), 1);
}

}  // namespace
}  // namespace tarnwick::win32::browser
