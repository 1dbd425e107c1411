#include "repair_harness.h"

#include "path_separators.h"
#include "temp_folder.h"

namespace tarnwick::test {

RepairHarness::RepairHarness(FileLayer* files, JobControl* control)
    : engine({files ? *files : nativeFiles, clock, messages, control ? *control : jobSwitch}) {
  RepairJobState& state = engine.State();
  state.analysisDialog = &analysisSink;
  state.savingDialog = &savingSink;
  state.messageCaption = "Tarnwick test";
}

void RepairHarness::SaveInto(const std::string& folder) {
  engine.State().saveMode = true;
  engine.State().destinationFolder = folder + kPreferredSeparator;
}

RepairRun RepairBytes(std::string_view source, Mending mending) {
  TempFolder input;
  TempFolder output;
  WriteFile(input.File("source.pdf"), source);
  RepairHarness harness;
  harness.SaveInto(output.Path());
  harness.engine.SetMending(mending == Mending::kOn);

  RepairRun run;
  run.completed = harness.engine.RepairFile(input.File("source.pdf"));
  if (harness.nativeFiles.Exists(output.File("source.pdf")))
    run.output = ReadFile(output.File("source.pdf"));
  run.results = harness.engine.Results();
  run.rebuilt = harness.engine.Rebuilt();
  run.failureText = harness.engine.FailureText();
  run.shown = harness.messages.shown;
  return run;
}

std::vector<KidsEntry> KidsList(const ScanResults& results) {
  std::vector<KidsEntry> entries;
  for (auto array = results.kidsArrays.rbegin(); array != results.kidsArrays.rend(); ++array) {
    for (std::size_t i = array->count; i > 0; --i) {
      entries.push_back(
          {static_cast<std::int64_t>(i), results.kidsReferences[array->first + i - 1].number});
    }
  }
  return entries;
}

}  // namespace tarnwick::test
