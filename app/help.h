#pragma once

#include "app_context.h"

namespace tarnwick {

// Opens the help document that ships in the program folder, unless the help is open already.
void ShowHelp(AppContext& app);

}  // namespace tarnwick
