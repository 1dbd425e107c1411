#pragma once

// The name of a test whose expectation is this system's own (an error text, say), so that the
// list of tests tells the systems' cases apart: `Name` becomes NameOnLinux or NameOnWindows.
#ifdef _WIN32
#define ON_THIS_SYSTEM(name) name##OnWindows
#else
#define ON_THIS_SYSTEM(name) name##OnLinux
#endif
