#pragma once

#include "app_context.h"

namespace tarnwick {

// Opens the help document that ships in the program folder, unless the help is open already:
// with the desktop's own viewer where there is one, else in the program's help window over
// `owner`.
void ShowHelp(AppContext& app, WindowHandle* owner);

}  // namespace tarnwick
