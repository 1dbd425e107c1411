#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tarnwick {

class SourceFile;

// A source file opened for one repair job. Reads are positional so that the engine can walk
// backwards from a keyword without a separate seek.
class SourceFile {
 public:
  virtual ~SourceFile() = default;
  // The file's length when it was opened.
  virtual std::uint64_t Length() const = 0;
  // Copies up to `count` bytes at `offset` into `out` and stores how many were read in `got`
  // (fewer at the end of the file). Returns false on an I/O error.
  virtual bool ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
                      std::size_t& got) = 0;
  // Text of the last error, for the user ("Input/output error").
  virtual std::string ErrorText() const = 0;
};

// The repaired copy, written front to back. It takes its final name only when Close succeeds;
// destroyed before that, it leaves nothing behind, and a file that had the name keeps its bytes.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Appends all `count` bytes; false on an I/O error.
  virtual bool Append(const std::uint8_t* data, std::size_t count) = 0;
  // Appends `count` bytes of `source` from `offset`, copied by the system from file to file
  // without passing through the engine: true when all were appended, false on an I/O error or
  // when the source holds fewer. Nothing when this layer cannot copy so between these files; then
  // nothing was written.
  virtual std::optional<bool> AppendFrom(SourceFile& /*source*/, std::uint64_t /*offset*/,
                                         std::size_t /*count*/) {
    return std::nullopt;
  }
  // Stores the whole file and puts it under its final name, replacing a file (or a symbolic
  // link, never its target) of that name; false when it could not.
  virtual bool Close() = 0;
  virtual std::string ErrorText() const = 0;
};

// Everything the engine does to the file system. Files that a job holds open are held
// exclusively: while they are open, the layer refuses to delete them, to change their
// attributes or to open them for writing, so a job can never overwrite its own source.
class FileLayer {
 public:
  virtual ~FileLayer() = default;
  virtual std::unique_ptr<SourceFile> OpenForReading(const std::string& path) = 0;
  // A new file that will replace `path` when it is closed; refused at once when `path` names a
  // held file or something other than a file.
  virtual std::unique_ptr<OutputFile> OpenForWriting(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Removes read-only and similar attributes.
  virtual bool ResetAttributes(const std::string& path) = 0;
  virtual bool Delete(const std::string& path) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  // The user's private temporary folder, ending with a separator; nothing when it cannot be had.
  virtual std::optional<std::string> TemporaryFolder() = 0;
  // Text of the last failure of an operation above.
  virtual std::string LastErrorText() const = 0;
};

// The local time that names a job's work folder.
struct LocalTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int day = 0;
  int month = 0;
  int year = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

}  // namespace tarnwick
