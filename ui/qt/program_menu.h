#pragma once

#include <functional>
#include <map>

class QAction;
class QMenuBar;
class QWidget;

namespace tarnwick::qt {

// The menu of the main and preview windows: File (Select Source File, Save Current File,
// Save All  File, Exit) and Help (About Us, Contents), opened with Alt+F and Alt+H; Ctrl+O
// chooses Select Source File. Each item reports its id when chosen and is entered in `items`
// by id.
QMenuBar* BuildProgramMenu(QWidget* parent, std::map<int, QAction*>& items,
                           const std::function<void(int)>& onCommand);

}  // namespace tarnwick::qt
