#pragma once

#include "file_layer.h"
#include "native_platform.h"

namespace tarnwick::test {

// The POSIX file layer with one injected I/O error: the Nth ReadAt of any source file, or the
// Nth Append of any output file, fails (counted from 1 over the layer's lifetime; 0 never
// fails). With `outOfMemory` the failing call throws std::bad_alloc instead, as an allocation
// that fails at that point of the job would. Everything else, holding files included, is the
// real layer's.
class FailingFileLayer final : public FileLayer {
 public:
  static constexpr char kReadError[] = "injected read failure";
  static constexpr char kWriteError[] = "injected write failure";

  // Counts calls of one kind; Next() is true for the one that must fail.
  struct Counter {
    int failing = 0;
    bool outOfMemory = false;
    int calls = 0;
    // True for the call that must fail with an error; throws for one that must run out of memory.
    bool Next();
  };

  FailingFileLayer(int failingRead, int failingWrite, bool outOfMemory = false)
      : reads_{failingRead, outOfMemory}, writes_{failingWrite, outOfMemory} {}

  // How many reads and appends were asked for so far, the failed one included.
  int Reads() const { return reads_.calls; }
  int Writes() const { return writes_.calls; }

  std::unique_ptr<SourceFile> OpenForReading(const std::string& path) override;
  std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) override;
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  bool ResetAttributes(const std::string& path) override { return real_.ResetAttributes(path); }
  bool Delete(const std::string& path) override { return real_.Delete(path); }
  bool CreateFolder(const std::string& path) override { return real_.CreateFolder(path); }
  std::optional<std::string> TemporaryFolder() override { return real_.TemporaryFolder(); }
  std::string LastErrorText() const override { return real_.LastErrorText(); }

 private:
  NativeFileLayer real_;
  Counter reads_;
  Counter writes_;
};

}  // namespace tarnwick::test
