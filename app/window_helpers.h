#pragma once

#include <memory>
#include <string>

#include "app_context.h"
#include "work_copy_path.h"

namespace tarnwick {

// A Yes/No question with a question-mark icon, system-modal, under the program's caption.
bool AskQuestion(MessageBoxes& boxes, WindowHandle* owner, const std::string& text);
// A notice with an OK button and an information icon, system-modal, under the program's caption.
void ShowNotice(MessageBoxes& boxes, WindowHandle* owner, const std::string& text);
// A notice with an OK button and a warning icon, system-modal, under the program's caption.
void ShowWarning(MessageBoxes& boxes, WindowHandle* owner, const std::string& text);

// Gives the window the program's title, under which other processes find it while the claim
// lives.
std::unique_ptr<WindowTitles::Claim> ShowWindowTitle(WindowTitles& titles,
                                                     const AppSettings& settings, DialogView& view);

// A bitmap button with one bitmap for both states, drawn with the usual transparent colour.
ButtonLook SingleBitmapButton(const AppSettings& settings, const std::string& bitmap,
                              const std::string& tooltip, const std::string& caption = {});
// The toolbar's Help, About Us and Exit buttons, alike in the main and the preview window.
void ShowHelpAboutExitButtons(const AppSettings& settings, DialogView& view);

// A bitmap button with a normal and a hover bitmap.
ButtonLook HoverBitmapButton(const AppSettings& settings, const std::string& normal,
                             const std::string& hover, const std::string& tooltip);

}  // namespace tarnwick
