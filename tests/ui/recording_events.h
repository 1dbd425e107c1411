#pragma once

#include <vector>

#include "views.h"

namespace tarnwick::test {

// Records what a view reports to its window, in order, and answers keys as told.
class RecordingEvents final : public PreviewEvents {
 public:
  void OnCommand(int id) override { commands.push_back(id); }
  void OnClose() override { ++closes; }
  bool OnKey(Key key) override {
    keys.push_back(key);
    return takeKeys;
  }
  void OnPaint() override { ++paints; }
  void OnNavigationComplete() override { ++navigationsCompleted; }

  std::vector<int> commands;
  std::vector<Key> keys;
  int closes = 0;
  int paints = 0;
  int navigationsCompleted = 0;
  bool takeKeys = true;
};

}  // namespace tarnwick::test
