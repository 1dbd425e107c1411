#pragma once

namespace tarnwick {

// Sets the standard streams up for the tool's UTF-8 text and its progress line.
void PrepareConsole();
// Whether a user sits at standard error (to see progress) and at standard input (to answer).
bool StandardErrorIsTerminal();
bool StandardInputIsTerminal();

}  // namespace tarnwick
