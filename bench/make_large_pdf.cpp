// make_large_pdf: writes the large benchmark PDF and, when a second path is given, its copy with
// a junk cross-reference table.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "large_pdf.h"

namespace {

constexpr char kUsage[] =
    "usage: make_large_pdf [--scale S] [--seed N] INTACT.pdf [DAMAGED.pdf]\n"
    "  --scale S  size relative to the standard file (20480 pages, about 220 MB); default 1\n"
    "  --seed N   the file's bytes are fixed by the seed; default 1\n";

int UsageError() {
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tarnwick::bench;
  LargePdfOptions options;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "--scale" || argument == "--seed") && i + 1 < argc) {
      char* end = nullptr;
      const char* value = argv[++i];
      if (argument == "--scale") options.scale = std::strtod(value, &end);
      else options.seed = std::strtoull(value, &end, 10);
      if (end == value || *end != '\0') return UsageError();
    } else if (argument == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!argument.empty() && argument[0] != '-') {
      paths.push_back(argument);
    } else {
      return UsageError();
    }
  }
  if (paths.empty() || paths.size() > 2 || !(options.scale > 0)) return UsageError();

  try {
    const LargePdfSummary summary = WriteLargePdf(paths[0], options);
    std::printf("%s: %llu bytes, %d objects, %d pages, xref table at %llu (%llu bytes)\n",
                paths[0].c_str(), static_cast<unsigned long long>(summary.bytes), summary.objects,
                summary.pages, static_cast<unsigned long long>(summary.xref.start),
                static_cast<unsigned long long>(summary.xref.end - summary.xref.start));
    if (paths.size() == 2) {
      WriteDamagedCopy(paths[0], paths[1], summary.xref, options.seed);
      std::printf("%s: the same with its xref table overwritten\n", paths[1].c_str());
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_large_pdf: %s\n", error.what());
    return 1;
  }
  return 0;
}
