#pragma once

#include <memory>
#include <string>

#include "file_layer.h"
#include "held_files.h"

namespace tarnwick {

// A repaired copy written under a part name of its own in the destination's folder. It takes
// the final name only once it is whole and closed, so a failed or stopped job, a full
// disk or a file-size limit never leave a cut copy under the final name, and the file that had
// the name before stays until a complete copy replaces it. Part file, check and rename all go
// through the folder's descriptor, so a folder that is moved or removed meanwhile cannot send
// them elsewhere.
class ReplacingOutputFile final : public OutputFile {
 public:
  // The output for `path`; nothing when its name is held by a job, names something other than
  // a file, or no part file can be made. `error` receives the reason.
  static std::unique_ptr<OutputFile> Create(const std::string& path, std::string& error);

  ~ReplacingOutputFile() override;
  ReplacingOutputFile(const ReplacingOutputFile&) = delete;
  ReplacingOutputFile& operator=(const ReplacingOutputFile&) = delete;

  bool Append(const std::uint8_t* data, std::size_t count) override;
  std::optional<bool> AppendFrom(SourceFile& source, std::uint64_t offset,
                                 std::size_t count) override;
  // Closed (and stored first when it replaces a file), then renamed over the final name. The
  // rename is refused, as the opening is, when a job holds the file of that name.
  bool Close() override;
  std::string ErrorText() const override { return error_; }

 private:
  ReplacingOutputFile(int folder, int fd, const struct stat& info, std::string partName,
                      std::string finalName);
  bool Fail(int error);
  bool Fail(std::string text);

  int folder_;
  HeldDescriptor file_;
  std::string partName_;  // empty once it has become the final file
  std::string finalName_;
  std::string error_;
};

// Removes the part files of every copy still being written by this process, for a program that
// ends without unwinding, where no copy gets to remove its own.
void RemovePartFiles();

}  // namespace tarnwick
