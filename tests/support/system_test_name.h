#pragma once

// The name of a test whose expectation is this system's own (an error text, say), so that the
// list of tests tells the systems' cases apart: `Name` becomes NameOnLinux or NameOnWindows,
// and a row's name gets kOnThisSystem appended.
#ifdef _WIN32
#define ON_THIS_SYSTEM(name) name##OnWindows
inline constexpr char kOnThisSystem[] = "OnWindows";
#else
#define ON_THIS_SYSTEM(name) name##OnLinux
inline constexpr char kOnThisSystem[] = "OnLinux";
#endif
