#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "large_pdf.h"
#include "split_mix.h"

namespace tarnwick::bench {

namespace {

constexpr std::size_t kCopyBuffer = 1 << 20;
constexpr std::string_view kJunk = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File Open(const std::string& path, const char* mode) {
  File file(std::fopen(path.c_str(), mode), &std::fclose);
  if (!file) throw std::runtime_error("cannot open " + path);
  return file;
}

}  // namespace

void WriteDamagedCopy(const std::string& intactPath, const std::string& damagedPath,
                      const XrefRange& xref, std::uint64_t seed) {
  File in = Open(intactPath, "rb");
  File out = Open(damagedPath, "wb");
  SplitMix random(seed ^ 0x5EEDDA3A6EDULL);
  std::vector<char> buffer(kCopyBuffer);
  std::uint64_t offset = 0;
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in.get());
    if (got == 0) break;
    for (std::size_t i = 0; i < got; ++i) {
      const std::uint64_t at = offset + i;
      if (at >= xref.start && at < xref.end && buffer[i] != '\r' && buffer[i] != '\n') {
        buffer[i] = kJunk[random.Next() % kJunk.size()];
      }
    }
    if (std::fwrite(buffer.data(), 1, got, out.get()) != got) {
      throw std::runtime_error("cannot write " + damagedPath);
    }
    offset += got;
  }
  if (std::ferror(in.get())) throw std::runtime_error("cannot read " + intactPath);
  if (offset < xref.end) throw std::runtime_error(intactPath + " ends before its xref table");
  if (std::fclose(out.release()) != 0) throw std::runtime_error("cannot write " + damagedPath);
}

}  // namespace tarnwick::bench
