#pragma once

#include <string>
#include <vector>

namespace tarnwick {

// The arguments as one command-line tail that CommandLineToArgvW (and the C runtime's parser)
// splits back into exactly these arguments: empty ones and ones with blanks or quotes are
// quoted, with backslashes doubled only where they precede a quote.
std::wstring QuoteArguments(const std::vector<std::wstring>& arguments);

}  // namespace tarnwick
