#include "keyword_candidates.h"

#include <array>
#include <cstring>
#include <string_view>

namespace tarnwick {

namespace {

// The first two bytes of each keyword. No two keywords share a first byte.
constexpr std::string_view kKeywordFirsts = "/Co<tKjX";
constexpr std::string_view kKeywordSeconds = "Pab<riSR";

// For each byte, the byte that must follow it for a keyword to start there (0 for none).
constexpr std::array<std::uint8_t, 256> kSecondAfter = [] {
  std::array<std::uint8_t, 256> second{};
  for (std::size_t k = 0; k < kKeywordFirsts.size(); ++k) {
    second[static_cast<unsigned char>(kKeywordFirsts[k])] =
        static_cast<std::uint8_t>(kKeywordSeconds[k]);
  }
  return second;
}();

void FindFrom(std::span<const std::uint8_t> block, std::size_t from, int next,
              std::vector<std::uint32_t>& out) {
  const std::size_t size = block.size();
  for (std::size_t i = from; i < size; ++i) {
    const std::uint8_t second = kSecondAfter[block[i]];
    if (second == 0) continue;
    const int after = i + 1 < size ? block[i + 1] : next;
    if (after == second) out.push_back(static_cast<std::uint32_t>(i));
  }
}

}  // namespace

void FindKeywordCandidatesPortable(std::span<const std::uint8_t> block, int next,
                                   std::vector<std::uint32_t>& out) {
  FindFrom(block, 0, next, out);
}

#if defined(TARNWICK_VECTOR_KEYWORD_SEARCH)
#if defined(__x86_64__)
// Thirty-two positions at a time on processors with AVX2, which the search checks for once;
// the sixteen-lane loop and the byte-wise search take what is left. Returns where it stopped.
__attribute__((target("avx2"))) std::size_t FindWide(std::span<const std::uint8_t> block,
                                                     std::vector<std::uint32_t>& out) {
  constexpr std::size_t kLanes = 32;
  using Lanes = std::uint8_t __attribute__((vector_size(kLanes)));
  using SignedLanes = char __attribute__((vector_size(kLanes)));
  const std::uint8_t* bytes = block.data();
  std::size_t i = 0;
  for (; i + kLanes < block.size(); i += kLanes) {
    Lanes first;
    Lanes second;
    std::memcpy(&first, bytes + i, sizeof first);
    std::memcpy(&second, bytes + i + 1, sizeof second);
    Lanes hits{};
    for (std::size_t k = 0; k < kKeywordFirsts.size(); ++k) {
      hits |= reinterpret_cast<Lanes>((first == static_cast<std::uint8_t>(kKeywordFirsts[k])) &
                                      (second == static_cast<std::uint8_t>(kKeywordSeconds[k])));
    }
    for (auto mask = static_cast<unsigned>(
             __builtin_ia32_pmovmskb256(reinterpret_cast<SignedLanes>(hits)));
         mask != 0; mask &= mask - 1) {
      out.push_back(static_cast<std::uint32_t>(i) +
                    static_cast<std::uint32_t>(__builtin_ctz(mask)));
    }
  }
  return i;
}
#endif

void FindKeywordCandidatesVector(std::span<const std::uint8_t> block, int next,
                                 std::vector<std::uint32_t>& out) {
  constexpr std::size_t kLanes = 16;
  using Lanes = std::uint8_t __attribute__((vector_size(kLanes)));
  const std::uint8_t* bytes = block.data();
  std::size_t i = 0;
#if defined(__x86_64__)
  static const bool wide = __builtin_cpu_supports("avx2");
  if (wide) i = FindWide(block, out);
#endif
  // Each group of sixteen positions needs the byte after it, so the last group is left to the
  // byte-wise search.
  for (; i + kLanes < block.size(); i += kLanes) {
    Lanes first;
    Lanes second;
    std::memcpy(&first, bytes + i, sizeof first);
    std::memcpy(&second, bytes + i + 1, sizeof second);
    Lanes hits{};
    for (std::size_t k = 0; k < kKeywordFirsts.size(); ++k) {
      hits |= reinterpret_cast<Lanes>((first == static_cast<std::uint8_t>(kKeywordFirsts[k])) &
                                      (second == static_cast<std::uint8_t>(kKeywordSeconds[k])));
    }
#if defined(__SSE2__)
    // One bit per lane, so that only the lanes that hit are visited.
    using SignedLanes = char __attribute__((vector_size(kLanes)));
    for (auto mask =
             static_cast<unsigned>(__builtin_ia32_pmovmskb128(reinterpret_cast<SignedLanes>(hits)));
         mask != 0; mask &= mask - 1) {
      out.push_back(static_cast<std::uint32_t>(i) +
                    static_cast<std::uint32_t>(__builtin_ctz(mask)));
    }
#else
    std::uint64_t halves[2];
    std::memcpy(halves, &hits, sizeof halves);
    if ((halves[0] | halves[1]) == 0) continue;
    for (std::size_t lane = 0; lane < kLanes; ++lane) {
      if (hits[lane] != 0) out.push_back(static_cast<std::uint32_t>(i + lane));
    }
#endif
  }
  FindFrom(block, i, next, out);
}
#endif

void FindKeywordCandidates(std::span<const std::uint8_t> block, int next,
                           std::vector<std::uint32_t>& out) {
#if defined(TARNWICK_VECTOR_KEYWORD_SEARCH)
  FindKeywordCandidatesVector(block, next, out);
#else
  FindKeywordCandidatesPortable(block, next, out);
#endif
}

}  // namespace tarnwick
