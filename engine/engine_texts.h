#pragma once

namespace tarnwick::texts {

// The messages and labels a job shows. Their spacing is the program's own and is kept as is.
inline constexpr char kSourceNotOpened[] = " Source file is not opened !! ";
inline constexpr char kDestinationNotOpened[] = " Destination file is not opened !! ";
inline constexpr char kOperationFailed[] = "Operation failed";
inline constexpr char kOverwriteQuestion[] = "File already exist. Do you want to overwrite?";
inline constexpr char kNotSupportedVersion[] = "Not Supported Version";
// Why a job ended when an allocation failed, for logs and the command line.
inline constexpr char kNotEnoughMemory[] = "not enough memory to repair this file";

inline constexpr char kStep1Analysis[] = " Step 1 / 2 ";
inline constexpr char kStep2Analysis[] = " Step 2 / 2 ";
inline constexpr char kStep1Saving[] = "( Step 1 / 2 )";
inline constexpr char kStep2Saving[] = "( Step 2 / 2 )";

}  // namespace tarnwick::texts
