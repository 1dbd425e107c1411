#include "page_content.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace tarnwick::bench {

namespace {

constexpr std::array<std::string_view, 32> kWords = {
    "ledger",  "harbour", "quarterly", "invoice", "freight", "tariff",   "storage", "granite",
    "meadow",  "lantern", "orchard",   "copper",  "balance", "schedule", "vessel",  "account",
    "summary", "margin",  "delivery",  "station", "weather", "survey",   "canal",   "timber",
    "north",   "east",    "report",    "figure",  "table",   "annex",    "notice",  "record"};

// One column holds this many lines; a longer text continues in the next column.
constexpr int kLinesPerColumn = 100;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string Drawing(SplitMix& random) {
  const int target = random.Between(400, 2400);
  std::string out = "q 0.5 w /GS0 gs\n";
  while (static_cast<int>(out.size()) < target) {
    const double x = random.Between(36, 576);
    const double y = random.Between(36, 756);
    out += Number(random.Between(0, 100) / 100.0) + " G " + Number(x) + ' ' + Number(y) + " m " +
           Number(x + random.Between(-200, 200)) + ' ' + Number(y + random.Between(-200, 200)) +
           " l S\n";
  }
  return out + "Q\n";
}

std::string Text(SplitMix& random, int pageNumber) {
  const int target = random.Between(2000, 10000);
  std::string out = "BT /F1 9 Tf 7 TL 72 760 Td (Page " + std::to_string(pageNumber) + ") Tj\n";
  out += "/F" + std::to_string(random.Between(1, 4)) + " 6 Tf\n";
  int lines = 0;
  while (static_cast<int>(out.size()) < target) {
    if (++lines % kLinesPerColumn == 0) out += "260 700 Td\n";
    out += '(';
    for (int words = random.Between(6, 12); words > 0; --words) {
      out += kWords[static_cast<std::size_t>(random.Between(0, kWords.size() - 1))];
      if (words > 1) out += ' ';
    }
    out += ") '\n";
  }
  return out + "ET\n";
}

}  // namespace

PageContent MakePageContent(SplitMix& random, int pageNumber) {
  PageContent page;
  page.drawing = Drawing(random);
  page.text = Text(random, pageNumber);
  page.imageWidth = random.Between(24, 80);
  page.imageHeight = random.Between(24, 80);
  page.placement = "q " + std::to_string(page.imageWidth * 2) + " 0 0 " +
                   std::to_string(page.imageHeight * 2) + " 400 60 cm /Im0 Do Q\n";
  page.imageSamples.resize(static_cast<std::size_t>(page.imageWidth * page.imageHeight));
  for (std::size_t i = 0; i < page.imageSamples.size(); i += 8) {
    std::uint64_t bits = random.Next();
    for (std::size_t k = i; k < i + 8 && k < page.imageSamples.size(); ++k, bits >>= 8) {
      page.imageSamples[k] = static_cast<char>(bits & 0xFF);
    }
  }
  const int x = random.Between(72, 400);
  const int y = random.Between(72, 700);
  page.linkRectangle = std::to_string(x) + ' ' + std::to_string(y) + ' ' +
                       std::to_string(x + random.Between(40, 160)) + ' ' +
                       std::to_string(y + random.Between(8, 20));
  return page;
}

}  // namespace tarnwick::bench
