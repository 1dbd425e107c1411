#pragma once

#include <memory>

#include "app_context.h"

namespace tarnwick {

// The last window of a successful Save All: writes the completion banner to the log and ends
// the program when the user confirms.
class CViewLog final : public WindowEvents {
 public:
  explicit CViewLog(AppContext& app);
  ~CViewLog() override;

  DialogResult DoModal();

  void OnCommand(int id) override;
  void OnClose() override;
  bool OnKey(Key key) override;
  void OnPaint() override {}

  DialogView& View() { return *view_; }

 private:
  AppContext& app_;
  std::unique_ptr<DialogView> view_;
  std::unique_ptr<WindowTitles::Claim> title_;
};

}  // namespace tarnwick
