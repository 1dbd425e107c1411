// The splash screen's flows against a view that records what it is asked to do.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "bmp_file.h"
#include "splash_screen.h"
#include "temp_folder.h"

namespace tarnwick::test {
namespace {

using Calls = std::vector<std::string>;

class RecordingSplashView : public SplashView {
 public:
  bool fading = true;
  ScreenSize screen{1025, 769};
  // Answers to Create, one per call; true once they run out.
  std::deque<bool> createAnswers;
  Calls calls;
  std::optional<BmpImage> picture;
  std::optional<std::vector<ShapeRect>> shape;

  bool Create(WindowHandle* parent, bool dropShadow) override {
    calls.push_back(std::string("Create ") + (parent ? "owned" : "unowned") +
                    (dropShadow ? " shadow" : " plain"));
    if (createAnswers.empty()) return true;
    const bool answer = createAnswers.front();
    createAnswers.pop_front();
    return answer;
  }
  ScreenSize ScreenClientSize() const override { return screen; }
  void SetPicture(const BmpImage& image) override {
    calls.push_back("SetPicture");
    picture = image;
  }
  void SetShape(const std::vector<ShapeRect>& rects) override {
    calls.push_back("SetShape");
    shape = rects;
  }
  void Place(int x, int y, int width, int height) override {
    calls.push_back("Place " + std::to_string(x) + ',' + std::to_string(y) + ' ' +
                    std::to_string(width) + 'x' + std::to_string(height));
  }
  bool SupportsFading() const override { return fading; }
  void FadeIn(unsigned milliseconds) override {
    calls.push_back("FadeIn " + std::to_string(milliseconds));
  }
  void Show() override { calls.push_back("Show"); }
  void FadeOut(unsigned milliseconds) override {
    calls.push_back("FadeOut " + std::to_string(milliseconds));
  }
  void Hide() override { calls.push_back("Hide"); }
  void SetTimerListener(std::function<void(int)> listener) override {
    timerListener = std::move(listener);
  }
  std::function<void(int)> timerListener;
  void StartTimer(int id, unsigned milliseconds) override {
    calls.push_back("StartTimer " + std::to_string(id) + ' ' + std::to_string(milliseconds));
  }
  void StopTimer(int id) override { calls.push_back("StopTimer " + std::to_string(id)); }
  void Destroy() override { calls.push_back("Destroy"); }
};

constexpr Rgb kKey{255, 0, 240};
constexpr Rgb kInk{20, 40, 60};
constexpr unsigned kProgramStyle = 15;

class SplashScreen : public testing::Test {
 protected:
  explicit SplashScreen(bool fading = true) {
    auto view = std::make_unique<RecordingSplashView>();
    view->fading = fading;
    view_ = view.get();
    splash_ = std::make_unique<CSplashScreenEx>(std::move(view));
  }

  // A 4×3 picture whose key-coloured pixels leave a plus sign.
  std::string WritePlus() {
    const std::string path = folder_.File("Flash.bmp");
    const BmpImage plus{4, 3, {kKey, kInk, kKey, kKey,  //
                               kInk, kInk, kInk, kKey,  //
                               kKey, kInk, kKey, kKey}};
    EXPECT_TRUE(WriteBmp24(path, plus));
    return path;
  }

  // Created and loaded as the main window does, with the calls so far forgotten.
  void CreateAndLoad(unsigned timeout, unsigned style) {
    ASSERT_TRUE(splash_->CreateSplash(&owner_, timeout, style));
    ASSERT_TRUE(splash_->LoadPicture(WritePlus(), 255, 0, 240));
    view_->calls.clear();
  }

  TempFolder folder_;
  WindowHandle owner_;
  RecordingSplashView* view_ = nullptr;
  std::unique_ptr<CSplashScreenEx> splash_;
};

class SplashScreenWithoutFading : public SplashScreen {
 protected:
  SplashScreenWithoutFading() : SplashScreen(false) {}
};

TEST_F(SplashScreen, StartValues) {
  EXPECT_EQ(splash_->Parent(), nullptr);
  EXPECT_EQ(splash_->Timeout(), 2000u);
  EXPECT_EQ(splash_->Style(), 0u);
  EXPECT_FALSE(splash_->Picture());
  EXPECT_EQ(splash_->Width(), 0);
  EXPECT_EQ(splash_->Height(), 0);
  EXPECT_EQ(splash_->X(), 0);
  EXPECT_EQ(splash_->Y(), 0);
  EXPECT_FALSE(splash_->Shape());
  EXPECT_FALSE(splash_->Destroyed());
  EXPECT_TRUE(view_->calls.empty());
}

TEST_F(SplashScreen, CreationStoresTheArgumentsAndAsksForTheShadowTheStyleNames) {
  EXPECT_TRUE(splash_->CreateSplash(&owner_, 1234, kProgramStyle));
  EXPECT_EQ(splash_->Parent(), &owner_);
  EXPECT_EQ(splash_->Timeout(), 1234u);
  EXPECT_EQ(splash_->Style(), kProgramStyle);
  EXPECT_EQ(view_->calls, (Calls{"Create owned shadow"}));
}

TEST_F(SplashScreen, AWindowWithoutShadowIsTriedWhenTheShadowedOneCannotBeMade) {
  view_->createAnswers = {false, true};
  EXPECT_TRUE(splash_->CreateSplash(&owner_, 2000, CSplashScreenEx::kDropShadow));
  EXPECT_EQ(view_->calls, (Calls{"Create owned shadow", "Create owned plain"}));
}

TEST_F(SplashScreen, CreationFailsWhenNeitherWindowCanBeMade) {
  view_->createAnswers = {false, false};
  EXPECT_FALSE(splash_->CreateSplash(nullptr, 2000, kProgramStyle));
  EXPECT_EQ(view_->calls, (Calls{"Create unowned shadow", "Create unowned plain"}));
}

TEST_F(SplashScreen, WithoutShadowAFailedCreationIsNotRetriedAndNothingElseReachesTheView) {
  view_->createAnswers = {false};
  EXPECT_FALSE(splash_->CreateSplash(&owner_, 2000, CSplashScreenEx::kFadeIn));
  EXPECT_FALSE(splash_->LoadPicture(WritePlus(), 255, 0, 240));
  splash_->ShowSplash();
  splash_->HideSplash();
  EXPECT_EQ(view_->calls, (Calls{"Create owned plain"}));
  EXPECT_FALSE(splash_->Destroyed());
}

TEST_F(SplashScreen, OneObjectMakesOneWindow) {
  ASSERT_TRUE(splash_->CreateSplash(&owner_, 2000, 0));
  EXPECT_FALSE(splash_->CreateSplash(&owner_, 500, kProgramStyle));
  EXPECT_EQ(splash_->Timeout(), 2000u);
  EXPECT_EQ(view_->calls, (Calls{"Create owned plain"}));
}

TEST_F(SplashScreen, LoadingCentresThePictureWithIntegerDivision) {
  ASSERT_TRUE(splash_->CreateSplash(&owner_, 2000, CSplashScreenEx::kCentre));
  ASSERT_TRUE(splash_->LoadPicture(WritePlus(), -1, -1, -1));
  EXPECT_EQ(splash_->Width(), 4);
  EXPECT_EQ(splash_->Height(), 3);
  EXPECT_EQ(splash_->X(), 510);  // (1025 - 4) / 2 = 510.5
  EXPECT_EQ(splash_->Y(), 383);  // (769 - 3) / 2
  ASSERT_TRUE(view_->picture);
  EXPECT_EQ(view_->picture, ReadBmp(folder_.File("Flash.bmp")));
  EXPECT_EQ(splash_->Picture(), view_->picture);
}

TEST_F(SplashScreen, WithoutTheCentreStyleThePositionStaysAtTheOrigin) {
  ASSERT_TRUE(splash_->CreateSplash(&owner_, 2000, kProgramStyle & ~CSplashScreenEx::kCentre));
  ASSERT_TRUE(splash_->LoadPicture(WritePlus(), 255, 0, 240));
  splash_->ShowSplash();
  EXPECT_EQ(splash_->X(), 0);
  EXPECT_EQ(splash_->Y(), 0);
  EXPECT_EQ(view_->calls[3], "Place 0,0 4x3");
}

TEST_F(SplashScreen, LoadingCutsTheKeyColourOut) {
  ASSERT_TRUE(splash_->CreateSplash(&owner_, 2000, kProgramStyle));
  ASSERT_TRUE(splash_->LoadPicture(WritePlus(), 255, 0, 240));
  const std::vector<ShapeRect> plus{{1, 2, 2, 3}, {0, 1, 3, 2}, {1, 0, 2, 1}};
  EXPECT_EQ(view_->calls, (Calls{"Create owned shadow", "SetPicture", "SetShape"}));
  EXPECT_EQ(view_->shape, plus);
  EXPECT_EQ(splash_->Shape(), plus);
}

TEST_F(SplashScreen, AKeyColourOfAnotherColourLeavesOnlyThatColourOut) {
  ASSERT_TRUE(splash_->CreateSplash(&owner_, 2000, 0));
  ASSERT_TRUE(splash_->LoadPicture(WritePlus(), kInk.red, kInk.green, kInk.blue));
  EXPECT_EQ(view_->shape, (std::vector<ShapeRect>{{0, 2, 1, 3}, {2, 2, 4, 3}, {3, 1, 4, 2},
                                                  {0, 0, 1, 1}, {2, 0, 4, 1}}));
}

class NoKeyColour : public SplashScreen,
                    public testing::WithParamInterface<std::tuple<int, int, int>> {};

TEST_P(NoKeyColour, WhenAnyComponentIsMinusOne) {
  const auto [red, green, blue] = GetParam();
  ASSERT_TRUE(splash_->CreateSplash(&owner_, 2000, 0));
  EXPECT_TRUE(splash_->LoadPicture(WritePlus(), red, green, blue));
  EXPECT_EQ(view_->calls, (Calls{"Create owned plain", "SetPicture"}));
  EXPECT_FALSE(splash_->Shape());
  EXPECT_TRUE(splash_->Picture());
}

INSTANTIATE_TEST_SUITE_P(Components, NoKeyColour,
                         testing::Values(std::tuple{-1, 0, 240}, std::tuple{255, -1, 240},
                                         std::tuple{255, 0, -1}));

TEST_F(SplashScreen, AMissingOrBrokenFileLeavesTheWindowWithoutPictureOrShape) {
  ASSERT_TRUE(splash_->CreateSplash(&owner_, 2000, kProgramStyle));
  EXPECT_FALSE(splash_->LoadPicture(folder_.File("absent.bmp"), 255, 0, 240));
  WriteFile(folder_.File("broken.bmp"), "BM not a bitmap");
  EXPECT_FALSE(splash_->LoadPicture(folder_.File("broken.bmp"), 255, 0, 240));
  EXPECT_EQ(view_->calls, (Calls{"Create owned shadow"}));
  EXPECT_FALSE(splash_->Picture());
  EXPECT_FALSE(splash_->Shape());
  EXPECT_EQ(splash_->Width(), 0);
  EXPECT_EQ(splash_->X(), 0);

  // The caller goes on regardless: the window still shows and hides.
  splash_->ShowSplash();
  splash_->HideSplash();
  EXPECT_TRUE(splash_->Destroyed());
}

TEST_F(SplashScreen, ShowingPlacesFadesInAndStartsTheHideTimer) {
  CreateAndLoad(2000, kProgramStyle);
  splash_->ShowSplash();
  EXPECT_EQ(view_->calls, (Calls{"Place 510,383 4x3", "FadeIn 500", "StartTimer 0 2000"}));
}

TEST_F(SplashScreen, WithoutTheFadeInStyleTheWindowAppearsPlainly) {
  CreateAndLoad(700, CSplashScreenEx::kFadeOut | CSplashScreenEx::kCentre);
  splash_->ShowSplash();
  EXPECT_EQ(view_->calls, (Calls{"Place 510,383 4x3", "Show", "StartTimer 0 700"}));
}

TEST_F(SplashScreenWithoutFading, TheWindowAppearsAndDisappearsPlainly) {
  CreateAndLoad(2000, kProgramStyle);
  splash_->ShowSplash();
  splash_->HideSplash();
  EXPECT_EQ(view_->calls, (Calls{"Place 510,383 4x3", "Show", "StartTimer 0 2000", "Hide",
                                 "StopTimer 0", "Destroy"}));
}

TEST_F(SplashScreen, ATimeoutOfZeroStartsNoTimer) {
  CreateAndLoad(0, kProgramStyle);
  splash_->ShowSplash();
  splash_->OnTimer(CSplashScreenEx::kHideTimer);
  EXPECT_EQ(view_->calls, (Calls{"Place 510,383 4x3", "FadeIn 500"}));
  EXPECT_FALSE(splash_->Destroyed());
  splash_->HideSplash();
  EXPECT_EQ(view_->calls, (Calls{"Place 510,383 4x3", "FadeIn 500", "FadeOut 200", "Destroy"}));
}

TEST_F(SplashScreen, TheHideTimerStopsItselfHidesAndDestroysTheWindow) {
  CreateAndLoad(2000, kProgramStyle);
  splash_->ShowSplash();
  view_->calls.clear();
  view_->timerListener(1);  // not ours
  EXPECT_TRUE(view_->calls.empty());
  view_->timerListener(CSplashScreenEx::kHideTimer);  // as the view's timer delivers it
  EXPECT_EQ(view_->calls, (Calls{"StopTimer 0", "FadeOut 200", "Destroy"}));
  EXPECT_TRUE(splash_->Destroyed());
}

TEST_F(SplashScreen, WithoutTheFadeOutStyleTheWindowIsHiddenPlainly) {
  CreateAndLoad(2000, CSplashScreenEx::kFadeIn);
  splash_->ShowSplash();
  view_->calls.clear();
  splash_->OnTimer(CSplashScreenEx::kHideTimer);
  EXPECT_EQ(view_->calls, (Calls{"StopTimer 0", "Hide", "Destroy"}));
}

TEST_F(SplashScreen, TheMainWindowsOwnHideEndsItAndALateTimerDoesNothing) {
  CreateAndLoad(2000, kProgramStyle);
  splash_->ShowSplash();
  view_->calls.clear();
  splash_->HideSplash();
  EXPECT_EQ(view_->calls, (Calls{"FadeOut 200", "StopTimer 0", "Destroy"}));
  EXPECT_TRUE(splash_->Destroyed());

  splash_->OnTimer(CSplashScreenEx::kHideTimer);
  splash_->HideSplash();
  splash_->ShowSplash();
  EXPECT_FALSE(splash_->LoadPicture(folder_.File("Flash.bmp"), 255, 0, 240));
  EXPECT_FALSE(splash_->CreateSplash(&owner_, 2000, kProgramStyle));
  EXPECT_EQ(view_->calls, (Calls{"FadeOut 200", "StopTimer 0", "Destroy"}));
}

}  // namespace
}  // namespace tarnwick::test
