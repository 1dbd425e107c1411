#include "command_line_quoting.h"

namespace tarnwick {

namespace {

bool NeedsQuotes(const std::wstring& argument) {
  return argument.empty() || argument.find_first_of(L" \t\n\v\"") != std::wstring::npos;
}

void AppendQuoted(const std::wstring& argument, std::wstring& line) {
  if (!NeedsQuotes(argument)) {
    line += argument;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t character : argument) {
    if (character == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless a quote follows them; before a quote each one is doubled
    // and the quote itself escaped.
    if (character == L'"') {
      line.append(backslashes * 2 + 1, L'\\');
    } else {
      line.append(backslashes, L'\\');
    }
    line += character;
    backslashes = 0;
  }
  // The closing quote follows them too.
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

}  // namespace

std::wstring QuoteArguments(const std::vector<std::wstring>& arguments) {
  std::wstring line;
  for (std::size_t index = 0; index < arguments.size(); ++index) {
    if (index > 0) line += L' ';
    AppendQuoted(arguments[index], line);
  }
  return line;
}

}  // namespace tarnwick
