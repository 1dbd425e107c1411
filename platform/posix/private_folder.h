#pragma once

#include <string>

namespace tarnwick {

// Makes `folder` if it is missing and checks that only this user can reach it: a real folder
// (not a symbolic link) owned by this user, mode 0700. False with the reason in `error` when it
// cannot be had that way.
bool MakePrivateFolder(const std::string& folder, std::string& error);
// True when `folder` exists as such a folder; nothing is made.
bool IsPrivateFolder(const std::string& folder);

}  // namespace tarnwick
