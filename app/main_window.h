#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app_context.h"

namespace tarnwick {

// The main window: the file table, Repair, and the ways out of the program.
class CZazoRavazuDlg final : public WindowEvents {
 public:
  enum class ExitWay { kCommand, kCloseBox, kEscape };

  // `files` go into the list as the window opens, as if the user had picked them.
  CZazoRavazuDlg(AppContext& app, std::vector<std::string> files = {});
  ~CZazoRavazuDlg() override;

  // Shows the splash, then runs the window until the program ends.
  DialogResult DoModal();

  void OnCommand(int id) override;
  void OnClose() override;
  bool OnKey(Key key) override;
  void OnPaint() override {}

  void AddFiles();
  void AddPaths(const std::vector<std::string>& paths);
  void ClearSelected();
  void ClearAll();
  void StartRepair();
  void ExitProgram(ExitWay way);

  MainWindowView& View() { return *view_; }

 private:
  void ShowSplash();
  void Initialise();
  void ShowRows();
  void ShowClearButtons();
  bool IsListed(const std::string& path) const;

  AppContext& app_;
  std::unique_ptr<MainWindowView> view_;
  std::unique_ptr<WindowTitles::Claim> title_;
  std::vector<std::string> givenFiles_;
  std::vector<std::string> rows_;
  std::string lastPickedPath_;
  bool hasFiles_ = false;
};

}  // namespace tarnwick
