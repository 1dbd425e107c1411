#include "failing_file_layer.h"

#include <new>

namespace tarnwick::test {

bool FailingFileLayer::Counter::Next() {
  if (++calls != failing) return false;
  if (outOfMemory) throw std::bad_alloc();
  return true;
}

namespace {

class FailingSourceFile final : public SourceFile {
 public:
  FailingSourceFile(std::unique_ptr<SourceFile> real, FailingFileLayer::Counter& reads)
      : real_(std::move(real)), reads_(reads) {}

  std::uint64_t Length() const override { return real_->Length(); }
  bool ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
              std::size_t& got) override {
    if (!reads_.Next()) return real_->ReadAt(offset, count, out, got);
    failed_ = true;
    got = 0;
    return false;
  }
  std::string ErrorText() const override {
    return failed_ ? FailingFileLayer::kReadError : real_->ErrorText();
  }

 private:
  std::unique_ptr<SourceFile> real_;
  FailingFileLayer::Counter& reads_;
  bool failed_ = false;
};

class FailingOutputFile final : public OutputFile {
 public:
  FailingOutputFile(std::unique_ptr<OutputFile> real, FailingFileLayer::Counter& writes)
      : real_(std::move(real)), writes_(writes) {}

  bool Append(const std::uint8_t* data, std::size_t count) override {
    if (!writes_.Next()) return real_->Append(data, count);
    failed_ = true;
    return false;
  }
  bool Close() override { return real_->Close(); }
  std::string ErrorText() const override {
    return failed_ ? FailingFileLayer::kWriteError : real_->ErrorText();
  }

 private:
  std::unique_ptr<OutputFile> real_;
  FailingFileLayer::Counter& writes_;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<SourceFile> FailingFileLayer::OpenForReading(const std::string& path) {
  auto real = real_.OpenForReading(path);
  if (!real) return nullptr;
  return std::make_unique<FailingSourceFile>(std::move(real), reads_);
}

std::unique_ptr<OutputFile> FailingFileLayer::OpenForWriting(const std::string& path) {
  auto real = real_.OpenForWriting(path);
  if (!real) return nullptr;
  return std::make_unique<FailingOutputFile>(std::move(real), writes_);
}

}  // namespace tarnwick::test
