#include "large_pdf.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <utility>
#include <vector>

#include "page_content.h"
#include "split_mix.h"

namespace tarnwick::bench {

namespace {

// Objects ahead of the pages, numbered in writing order.
constexpr int kCatalog = 1;
constexpr int kInfo = 2;
constexpr int kFirstFont = 3;
constexpr int kFontCount = 4;
constexpr int kFontResources = kFirstFont + kFontCount;
constexpr int kGraphicsStates = kFontResources + 1;
constexpr int kFirstPageObject = kGraphicsStates + 1;

// Page dictionary, drawing, text and placement streams, image, link annotation.
constexpr int kObjectsPerPage = 6;
constexpr int kTreeFanOut = 32;

std::string Reference(int number) { return std::to_string(number) + " 0 R"; }

// The page tree as levels of node numbers, leaves first; each level's nodes group up to
// kTreeFanOut members of the level below (the pages, for the leaves). The root is numbered last.
struct PageTree {
  std::vector<std::vector<int>> levels;
  std::vector<int> memberCounts;  // per level: how many members its level below has

  PageTree(int pages, int firstNumber) {
    int members = pages;
    int next = firstNumber;
    do {
      const int nodes = (members + kTreeFanOut - 1) / kTreeFanOut;
      levels.emplace_back();
      memberCounts.push_back(members);
      for (int i = 0; i < nodes; ++i) levels.back().push_back(next++);
      members = nodes;
    } while (members > 1);
  }
  int Root() const { return levels.back().front(); }
  int LastNumber() const { return levels.back().back(); }
  // The node at `level` that holds member `index` of the level below.
  int ParentOf(std::size_t level, int index) const {
    return levels[level][static_cast<std::size_t>(index / kTreeFanOut)];
  }
};

void WriteSharedObjects(PdfFileWriter& writer, const PageTree& tree, std::uint64_t seed) {
  writer.Object(kCatalog, "<< /Type /Catalog /Pages " + Reference(tree.Root()) + " >>");
  writer.Object(kInfo, "<< /Title (Generated benchmark document, seed " + std::to_string(seed) +
                           ") /Producer (make_large_pdf) >>");
  static constexpr const char* kFonts[kFontCount] = {"Helvetica", "Times-Roman", "Courier",
                                                     "Helvetica-Bold"};
  std::string resources = "<<";
  for (int i = 0; i < kFontCount; ++i) {
    writer.Object(kFirstFont + i, std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") +
                                      kFonts[i] + " /Encoding /WinAnsiEncoding >>");
    resources += " /F" + std::to_string(i + 1) + ' ' + Reference(kFirstFont + i);
  }
  writer.Object(kFontResources, resources + " >>");
  writer.Object(kGraphicsStates, "<< /GS0 << /Type /ExtGState /LW 0.5 /CA 1 /ca 1 >> >>");
}

void WritePage(PdfFileWriter& writer, const PageTree& tree, SplitMix& random, int index) {
  const int page = kFirstPageObject + index * kObjectsPerPage;
  const int drawing = page + 1;
  const int text = page + 2;
  const int placement = page + 3;
  const int image = page + 4;
  const int link = page + 5;
  const PageContent content = MakePageContent(random, index + 1);

  writer.StreamObject(drawing, "", content.drawing);
  writer.StreamObject(text, "", content.text);
  writer.StreamObject(placement, "", content.placement);
  writer.StreamObject(image,
                      "/Type /XObject /Subtype /Image /Width " + std::to_string(content.imageWidth) +
                          " /Height " + std::to_string(content.imageHeight) +
                          " /ColorSpace /DeviceGray /BitsPerComponent 8",
                      content.imageSamples);
  writer.Object(link, "<< /Type /Annot /Subtype /Link /Rect [" + content.linkRectangle +
                          "] /Border [0 0 0] /A << /S /URI /URI (https://example.org/records/" +
                          std::to_string(index + 1) + ") >> >>");
  writer.Object(page, "<<\n/Type /Page\n/Parent " + Reference(tree.ParentOf(0, index)) +
                          "\n/MediaBox [0 0 612 792]\n/Resources << /Font " +
                          Reference(kFontResources) + " /ExtGState " + Reference(kGraphicsStates) +
                          " /XObject << /Im0 " + Reference(image) +
                          " >> /ProcSet [/PDF /Text /ImageB] >>\n/Contents [" + Reference(drawing) +
                          ' ' + Reference(text) + ' ' + Reference(placement) + "]\n/Annots [" +
                          Reference(link) + "]\n>>");
}

void WritePageTree(PdfFileWriter& writer, const PageTree& tree, int pages) {
  std::vector<int> counts(static_cast<std::size_t>(pages), 1);  // pages under each member
  for (std::size_t level = 0; level < tree.levels.size(); ++level) {
    std::vector<int> nodeCounts(tree.levels[level].size(), 0);
    std::vector<std::string> kids(tree.levels[level].size());
    for (int member = 0; member < tree.memberCounts[level]; ++member) {
      const auto node = static_cast<std::size_t>(member / kTreeFanOut);
      const int memberNumber = level == 0 ? kFirstPageObject + member * kObjectsPerPage
                                          : tree.levels[level - 1][static_cast<std::size_t>(member)];
      if (!kids[node].empty()) kids[node] += ' ';
      kids[node] += Reference(memberNumber);
      nodeCounts[node] += counts[static_cast<std::size_t>(member)];
    }
    const bool isRoot = level + 1 == tree.levels.size();
    for (std::size_t node = 0; node < kids.size(); ++node) {
      const std::string parent =
          isRoot ? "" : " /Parent " + Reference(tree.ParentOf(level + 1, static_cast<int>(node)));
      writer.Object(tree.levels[level][node], "<< /Type /Pages" + parent + " /Kids [" +
                                                  kids[node] + "] /Count " +
                                                  std::to_string(nodeCounts[node]) + " >>");
    }
    counts = std::move(nodeCounts);
  }
}

}  // namespace

LargePdfSummary WriteLargePdf(const std::string& path, const LargePdfOptions& options) {
  LargePdfSummary summary;
  summary.pages = static_cast<int>(std::lround(kPagesAtScaleOne * options.scale));
  if (summary.pages < 1) throw std::invalid_argument("the scale leaves no page");
  const PageTree tree(summary.pages, kFirstPageObject + summary.pages * kObjectsPerPage);
  summary.objects = tree.LastNumber();

  PdfFileWriter writer(path, summary.objects);
  SplitMix random(options.seed);
  WriteSharedObjects(writer, tree, options.seed);
  for (int index = 0; index < summary.pages; ++index) WritePage(writer, tree, random, index);
  WritePageTree(writer, tree, summary.pages);

  char id[33];
  std::snprintf(id, sizeof id, "%016llX%016llX", static_cast<unsigned long long>(random.Next()),
                static_cast<unsigned long long>(random.Next()));
  summary.xref = writer.Finish("/Root " + Reference(kCatalog) + " /Info " + Reference(kInfo) +
                               " /ID [<" + id + "> <" + id + ">]");
  summary.bytes = writer.Length();
  return summary;
}

}  // namespace tarnwick::bench
