#pragma once

// Exit codes of the probe program, apart from anything a crash or a failed start could give.
namespace tarnwick::probe {

constexpr int kFound = 10;
constexpr int kNotFound = 11;
constexpr int kRecorded = 12;
constexpr int kFailed = 13;

}  // namespace tarnwick::probe
