#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "job_switch.h"
#include "pdf_repair.h"
#include "native_platform.h"
#include "recorders.h"

namespace tarnwick::test {

// One engine wired to real files (the POSIX layer, or `files` when given) and to the recorders:
// a fixed clock, scripted messages, a JobSwitch (or `control` when given), and one recording
// sink per dialog.
struct RepairHarness {
  explicit RepairHarness(FileLayer* files = nullptr, JobControl* control = nullptr);

  // Save mode: the output goes into `folder` under the source's name.
  void SaveInto(const std::string& folder);

  NativeFileLayer nativeFiles;
  FixedClock clock;
  ScriptedMessages messages;
  JobSwitch jobSwitch;
  RecordingSink analysisSink;
  RecordingSink savingSink;
  PDF_Repair engine;
};

// What one repair of a byte string gave.
struct RepairRun {
  bool completed = false;
  std::string output;  // the repaired file's bytes; empty when none was written
  ScanResults results;
  RebuildSummary rebuilt;
  std::string failureText;
  std::vector<ShownMessage> shown;
};

// An entry of the Kids arrays as the scan kept them: the place among its array's kept references
// (from 1) and the number.
struct KidsEntry {
  std::int64_t index = 0;
  std::int64_t number = 0;
  bool operator==(const KidsEntry&) const = default;
};
// The entries of every Kids array, the newest array first, each from its last reference.
std::vector<KidsEntry> KidsList(const ScanResults& results);

// Whether a test's repair mends what strict readers would reject. The tests of the repair's rules
// pin what the rules alone write, on sources made to break them.
enum class Mending { kOff, kOn };

// Writes `source` as source.pdf into a fresh temporary folder, repairs it in save mode into a
// second folder, and returns what came out. Any question fails the test.
RepairRun RepairBytes(std::string_view source, Mending mending = Mending::kOff);

}  // namespace tarnwick::test
