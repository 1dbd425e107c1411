#pragma once

#include <memory>
#include <string>

#include "app_context.h"
#include "work_copy_path.h"

namespace tarnwick {

// A Yes/No question with a question-mark icon, system-modal, under the program's caption.
bool AskQuestion(AppContext& app, WindowHandle* owner, const std::string& text);
// A notice with an OK button and an information icon, system-modal, under the program's caption.
void ShowNotice(AppContext& app, WindowHandle* owner, const std::string& text);
// Run by a worker after its repair job ended early. When the job did not tell the user why (a
// read or write error, a source that changed under it), the job's failure text, which names the
// file and the system's reason, is shown on the window thread with an OK button and a warning
// icon; a stop, a declined overwrite and the job's own notices are left alone.
void TellUntoldFailure(AppContext& app);

// Gives the window the program's title, under which other processes find it while the claim
// lives.
std::unique_ptr<WindowTitles::Claim> ShowWindowTitle(AppContext& app, DialogView& view);

// A bitmap button with one bitmap for both states, drawn with the usual transparent colour.
ButtonLook SingleBitmapButton(const AppContext& app, const std::string& bitmap,
                              const std::string& tooltip, const std::string& caption = {});
// The toolbar's Help, About Us and Exit buttons, alike in the main and the preview window.
void ShowHelpAboutExitButtons(const AppContext& app, DialogView& view);

// A bitmap button with a normal and a hover bitmap.
ButtonLook HoverBitmapButton(const AppContext& app, const std::string& normal,
                             const std::string& hover, const std::string& tooltip);

}  // namespace tarnwick
