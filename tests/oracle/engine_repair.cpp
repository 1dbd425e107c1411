#include "engine_repair.h"

#include "job_switch.h"
#include "pdf_repair.h"
#include "native_platform.h"

namespace tarnwick::oracle {

namespace {

class RecordedMessages final : public JobMessages {
 public:
  explicit RecordedMessages(std::vector<std::string>& notices) : notices_(notices) {}
  void Notice(const std::string& text) override { notices_.push_back(text); }
  bool AskYesNo(const std::string& text, const std::string&) override {
    notices_.push_back(text);
    return false;
  }

 private:
  std::vector<std::string>& notices_;
};

}  // namespace

EngineRepair RepairInto(const std::filesystem::path& source, const std::filesystem::path& folder,
                        const std::string& password, bool mend) {
  EngineRepair result;
  NativeFileLayer files;
  NativeClock clock;
  RecordedMessages messages(result.notices);
  JobSwitch control;
  PDF_Repair engine({files, clock, messages, control});
  engine.State().saveMode = true;
  engine.State().destinationFolder = folder.string() + "/";
  engine.SetPassword(password);
  engine.SetMending(mend);
  result.repaired = engine.RepairFile(source.string());
  result.output = engine.State().outputPath;
  result.failure = engine.FailureText();
  result.packedObjectsProtected = engine.PackedObjectsProtected();
  result.mendedStreams = engine.Rebuilt().mendedStreams;
  result.mendedObjects = engine.Rebuilt().mendedObjects;
  result.encryptionKeyLost = engine.Rebuilt().encryptionKeyLost;
  result.outcome = engine.Outcome();
  return result;
}

RepairOutcome CheckWithEngine(const std::filesystem::path& source) {
  std::vector<std::string> notices;
  NativeFileLayer files;
  NativeClock clock;
  RecordedMessages messages(notices);
  JobSwitch control;
  PDF_Repair engine({files, clock, messages, control});
  engine.CheckFile(source.string());
  return engine.Outcome();
}

}  // namespace tarnwick::oracle
