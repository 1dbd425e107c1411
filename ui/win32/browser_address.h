#pragma once

#include <string>

namespace tarnwick::win32::browser {

// The preview asks for "about:blank" or for a copy's full path, usually followed by the
// "#toolbar=0" fragment for the PDF viewer.

// What the web browser control is given for `address`: a path becomes a file URL that keeps the
// fragment apart from the path, and anything with a scheme passes unchanged.
std::string ControlAddress(const std::string& address);

// The file that `address` shows, without the fragment and with backslashes; empty for an address
// with a scheme.
std::string ShownFile(const std::string& address);

}  // namespace tarnwick::win32::browser
