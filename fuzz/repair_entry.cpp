#include "repair_entry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "job_switch.h"
#include "pdf_repair.h"
#include "posix_clock.h"
#include "posix_file_layer.h"

namespace tarnwick::fuzz {

namespace {

// No one reads the notices of an unattended run; overwriting is what a rerun wants.
class UnattendedMessages final : public JobMessages {
 public:
  void Notice(const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
};

[[noreturn]] void Die(const std::string& what) {
  std::perror(what.c_str());
  std::abort();
}

}  // namespace

bool RepairInto(const std::string& sourcePath, const std::string& destinationFolder) {
  PosixFileLayer files;
  PosixClock clock;
  UnattendedMessages messages;
  JobSwitch control;
  // A fresh engine per input keeps every run reproducible from its input alone.
  PDF_Repair engine({files, clock, messages, control});
  engine.State().saveMode = true;
  engine.State().destinationFolder = destinationFolder;
  return engine.RepairFile(sourcePath);
}

ScratchRepair::ScratchRepair() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarnwick-fuzz-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!::mkdtemp(name.data())) Die("mkdtemp " + pattern);
  folder_ = name.data();
  inputPath_ = folder_ + "/input.pdf";
  outputFolder_ = folder_ + "/out/";
  outputPath_ = outputFolder_ + "input.pdf";
  if (::mkdir(outputFolder_.c_str(), 0700) != 0) Die("mkdir " + outputFolder_);
}

ScratchRepair::~ScratchRepair() {
  ::unlink(inputPath_.c_str());
  ::unlink(outputPath_.c_str());
  ::rmdir(outputFolder_.c_str());
  ::rmdir(folder_.c_str());
}

std::optional<std::uint64_t> ScratchRepair::Repair(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream input(inputPath_, std::ios::binary | std::ios::trunc);
    input.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!input.flush()) Die("write " + inputPath_);
  }
  std::optional<std::uint64_t> length;
  struct stat copy {};
  if (RepairInto(inputPath_, outputFolder_) && ::stat(outputPath_.c_str(), &copy) == 0) {
    length = static_cast<std::uint64_t>(copy.st_size);
  }
  ::unlink(outputPath_.c_str());
  return length;
}

}  // namespace tarnwick::fuzz
