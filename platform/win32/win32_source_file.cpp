#include "win32_source_file.h"

#include <algorithm>

#include "win32_text.h"

namespace tarnwick {

bool Win32SourceFile::ReadAt(std::uint64_t offset, std::size_t count, std::uint8_t* out,
                             std::size_t& got) {
  constexpr std::size_t kLargestRead = std::size_t{1} << 30;
  got = 0;
  while (got < count) {
    const std::uint64_t at = offset + got;
    OVERLAPPED position{};
    position.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(at >> 32);
    const DWORD wanted = static_cast<DWORD>(std::min(count - got, kLargestRead));
    DWORD n = 0;
    if (!::ReadFile(file_.Get(), out + got, wanted, &n, &position)) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_HANDLE_EOF) break;
      error_ = error;
      return false;
    }
    if (n == 0) break;
    got += n;
  }
  return true;
}

std::string Win32SourceFile::ErrorText() const { return SystemErrorText(error_); }

}  // namespace tarnwick
