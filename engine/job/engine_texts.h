#pragma once

namespace tarnwick::texts {

// The messages and labels a job shows. Their spacing is the program's own and is kept as is.
inline constexpr char kSourceNotOpened[] = " Source file is not opened !! ";
inline constexpr char kDestinationNotOpened[] = " Destination file is not opened !! ";
inline constexpr char kOperationFailed[] = "Operation failed";
inline constexpr char kOverwriteQuestion[] = "File already exist. Do you want to overwrite?";

// Why a job ended early, after the path of the file concerned.
inline constexpr char kSourceShrank[] = "the file became shorter during the repair";
inline constexpr char kOutputTooLarge[] =
    "the repaired copy would pass 9999999999 bytes, more than its cross-reference table can "
    "address";
inline constexpr char kNotEnoughMemory[] = "not enough memory to repair this file";

inline constexpr char kStep1Analysis[] = " Step 1 / 2 ";
inline constexpr char kStep2Analysis[] = " Step 2 / 2 ";
inline constexpr char kStep1Saving[] = "( Step 1 / 2 )";
inline constexpr char kStep2Saving[] = "( Step 2 / 2 )";

}  // namespace tarnwick::texts
