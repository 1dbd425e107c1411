#include "failing_file_layer.h"

namespace tarnwick::test {

namespace {

class FailingSourceFile final : public SourceFile {
 public:
  FailingSourceFile(std::unique_ptr<SourceFile> real, FailingFileLayer& layer)
      : real_(std::move(real)), layer_(layer) {}

  std::uint64_t Length() const override { return real_->Length(); }
  bool ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
              std::size_t& got) override {
    if (layer_.ReadFails()) {
      failed_ = true;
      got = 0;
      return false;
    }
    return real_->ReadAt(offset, count, out, got);
  }
  std::string ErrorText() const override {
    return failed_ ? FailingFileLayer::kReadError : real_->ErrorText();
  }

 private:
  std::unique_ptr<SourceFile> real_;
  FailingFileLayer& layer_;
  bool failed_ = false;
};

class FailingOutputFile final : public OutputFile {
 public:
  FailingOutputFile(std::unique_ptr<OutputFile> real, FailingFileLayer& layer)
      : real_(std::move(real)), layer_(layer) {}

  bool Append(const std::uint8_t* data, std::size_t count) override {
    if (layer_.WriteFails()) {
      failed_ = true;
      return false;
    }
    return real_->Append(data, count);
  }
  bool Close() override { return real_->Close(); }
  std::string ErrorText() const override {
    return failed_ ? FailingFileLayer::kWriteError : real_->ErrorText();
  }

 private:
  std::unique_ptr<OutputFile> real_;
  FailingFileLayer& layer_;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<SourceFile> FailingFileLayer::OpenForReading(const std::string& path) {
  auto real = real_.OpenForReading(path);
  if (!real) return nullptr;
  return std::make_unique<FailingSourceFile>(std::move(real), *this);
}

std::unique_ptr<OutputFile> FailingFileLayer::OpenForWriting(const std::string& path) {
  auto real = real_.OpenForWriting(path);
  if (!real) return nullptr;
  return std::make_unique<FailingOutputFile>(std::move(real), *this);
}

}  // namespace tarnwick::test
