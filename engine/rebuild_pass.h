#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "document_protection.h"
#include "job_progress.h"
#include "number_table.h"
#include "output_writer.h"
#include "pdf_syntax.h"
#include "rebuild_summary.h"
#include "scan_results.h"
#include "source_reader.h"
#include "stream_decode.h"

namespace tarnwick {

// Step 2 of a repair and the tail of the repaired file: every object the scan located copied in
// table order (newest first), pages pointed at a new one-level page tree, then that tree, a new
// catalog, the cross-reference table, the trailer and the startxref section. It reads the scan's
// results and never changes them.
class RebuildPass {
 public:
  RebuildPass(const ScanResults& results, SourceReader& source, OutputWriter& output,
              JobProgress& progress);

  // False when the job must end (stop, or a read or write failed).
  bool RunRebuildPass();
  const RebuildSummary& Summary() const { return summary_; }

 private:
  // What an old page-tree node hands down: the raw values of /Resources, /MediaBox, /CropBox and
  // /Rotate (empty when the node has none), and its own parent's number.
  struct TreeNode {
    std::array<std::string, 4> attributes;
    std::int64_t parent = 0;
  };

  void ComputeNewPagesNumber();
  void MakeFallbackTrailer();
  // Makes the trailer record from the cross-reference streams, each entry from the newest that
  // has it; false when there are none.
  bool TakeXrefStreamTrailer();
  // Picks the version of each number that the copy writes: the newest of a kind it copies.
  void ChooseVersions();
  bool CopyObjects();
  // Whether the record at `index` of the object list goes into the output.
  bool IsCopied(std::size_t index) const;
  // Of the kinds, object streams are copied only when the source is encrypted and they could not
  // be read, their unpacked objects only when they could.
  bool IsCopiedKind(const ObjectRecord& record) const;
  // Writes a stream object whose /Length is wrong, or whose compressed data is broken, mended, up
  // to its "endstream"; false (nothing written) for every other object (stream_copy.cpp).
  bool CopyMendedStream(const ObjectRecord& record);
  // True when the stream object from `start` is known at a glance to need nothing: one direct
  // /Length that reaches its "endstream", a plain end of line after "stream", no /Form, and for
  // page `content` no /Filter. False leaves the question to the syntax reader.
  bool LengthRightAtAGlance(std::int64_t start, std::int64_t endstream, bool content);
  // The number a /Length entry gives, directly or through a copied object.
  std::optional<std::int64_t> DeclaredLength(const PdfValue* length);
  // The stream's data decoded, when the job's decoding budget allows; data that reaches the cap
  // counts as whole, so that no limit is mistaken for damage.
  std::optional<DecodedStream> DecodeWithinBudget(SourceReader& reader, std::int64_t begin,
                                                  std::int64_t end, const StreamFilter& filter);
  // The object from `start` up to its "stream" keyword (which ends at `streamEnd`) with /Length
  // the true length (inserted after "<<" when missing), then the data of [dataStart, dataEnd),
  // or `data` in its place.
  void WriteWithLength(std::int64_t start, std::int64_t dictionaryStart, const PdfValue* length,
                       std::int64_t streamEnd, std::int64_t dataStart, std::int64_t dataEnd,
                       const std::vector<std::uint8_t>* data);
  // The object from `start` with its dictionary's entries but /Length, /Filter and /DecodeParms,
  // then those of the deflated content that follows.
  void WriteDeflatedContent(std::int64_t start, std::int64_t dictionaryStart,
                            const PdfDictionary& dictionary, std::span<const std::uint8_t> deflated);
  void CopySourceBytes(std::int64_t from, std::int64_t to);
  // Copies one chunk of a page; true when its Parent entry was rewritten, in which case the
  // `inherited` entries follow the new reference.
  bool CopyPageChunk(const std::uint8_t* chunk, std::size_t length, const std::string& inherited);
  // The attributes a page inherited from its old ancestors and lacks itself, as entries to add.
  std::string InheritedEntries(const ObjectRecord& page);
  // The number after "/Parent" when the page's bytes hold that key exactly once.
  std::optional<std::int64_t> SoleParentNumber(const ObjectRecord& page);
  // Whether a node of the old tree from `parent` up has any attribute to hand down.
  bool AncestorsHandDown(std::int64_t parent);
  const TreeNode& TreeNodeOf(std::int64_t number);  // read once per job and number

  void WritePagesObject();
  // The pages in the order of the old page tree: the leaves of a walk from the catalog's /Pages.
  std::vector<std::int64_t> PageTreeLeaves();
  void WalkPageTree(std::int64_t number, int level, std::unordered_set<std::int64_t>& visited,
                    std::vector<std::int64_t>& leaves);
  // False when the record's bytes hold no "Kids" keyword, so that it cannot be an inner node.
  bool MayHoldKids(const ObjectRecord& record) const;
  // The objects a page's /Contents entries name.
  std::vector<std::int64_t> ContentReferences(SourceReader& reader, std::uint64_t start,
                                              std::uint64_t end);
  // Whether every object a page's /Contents names was found.
  bool ContentsPresent(const std::vector<std::int64_t>& references) const;
  // Whether the newest version of `number` has all its content streams; every page's answer is
  // found while versions are chosen, in one pass over the pages in file order.
  bool PagePasses(std::int64_t number);

  void WriteCatalogObject();
  // The entries of the source's catalog (object `number`) other than /Type and /Pages, each on a
  // line of its own, as they stand in the source.
  std::string CatalogEntries(std::int64_t number);
  // The /Info reference of the trailer record in force, 0 when it has none.
  std::int64_t TrailerInfoNumber();
  void WriteXrefTable();
  void WriteTrailer();
  void WriteStartXref();

  // The reader that holds a record's bytes: the source, or the unpacked objects.
  SourceReader& ReaderOf(const ObjectRecord& record);
  // The dictionary that opens a record's object, when it reads as one.
  std::optional<PdfDictionary> DictionaryOf(const ObjectRecord& record);
  // The newest record of `number` of a kind the copy takes, or null.
  const ObjectRecord* NewestRecord(std::int64_t number) const;
  // Whether a record of `number` was copied into the output.
  bool WasCopied(std::int64_t number) const;

  const ScanResults& results_;
  SourceReader& source_;
  SourceReader unpacked_;
  OutputWriter& output_;
  JobProgress& progress_;
  RebuildSummary summary_;
  TrailerRecord& trailer_ = summary_.trailer;

  // The trailer entries the scan captured, each cleared once written.
  TrailerProtection protection_;
  bool decodeParmsSeen_;

  // Decided once the trailer is known, before anything is copied.
  bool encrypted_ = false;

  // Lookups made once per object or page, answered from tables built once per job.
  std::unordered_set<std::int64_t> pageNumbers_;
  NumberTable recordNumbers_;  // of every record, older versions included
  // Per listable object number: the index of the version that is copied.
  NumberTable newest_;
  // Per object number: whether its newest version has all the content streams it names.
  std::unordered_map<std::int64_t, bool> pagePasses_;
  // The streams that the newest versions of the pages name as their content.
  std::unordered_set<std::int64_t> contentStreams_;
  // The numbers that indirect /Length entries named, as read once.
  std::unordered_map<std::int64_t, std::optional<std::int64_t>> lengthObjects_;
  // The old page-tree nodes read for inherited attributes, per object number.
  std::unordered_map<std::int64_t, TreeNode> treeNodes_;
  // How many bytes of inherited attributes the pages may still be given.
  std::uint64_t inheritedBytesLeft_;
  // How many more bytes the job may decode to check and mend streams.
  std::uint64_t decodeBudget_;

  std::optional<std::uint64_t> xrefOffset_;
  std::uint64_t xrefSize_ = 0;
  struct XrefEntry {
    std::int64_t number = 0;
    std::uint64_t offset = 0;  // in the output
    std::uint16_t generation = 0;
  };
  std::vector<XrefEntry> xrefEntries_;
};

// The /ID array that starts after white space at `at` (after an "ID" key, or where a
// cross-reference stream's array stands), when it holds exactly two strings; else nothing.
std::vector<std::uint8_t> IdentifierArrayAt(SourceReader& source, std::int64_t at);

}  // namespace tarnwick
