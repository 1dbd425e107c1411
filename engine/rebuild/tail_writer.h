#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "copy_plan.h"
#include "document_protection.h"
#include "output_writer.h"
#include "rebuild_summary.h"
#include "source_reader.h"
#include "xref_entry.h"

namespace tarnwick {

// The end of the repaired file, after the copied objects: the new one-level page tree, the new
// catalog, the cross-reference table over everything written, the trailer and the startxref
// section. Owns the cross-reference entries, which the object copier adds to as it writes.
class TailWriter {
 public:
  TailWriter(const CopyPlan& plan, SourceReader& source, OutputWriter& output,
             RebuildSummary& summary);

  std::vector<XrefEntry>& XrefEntries() { return xrefEntries_; }

  // The Pages object listing every page that passes, each once (page_tree.cpp).
  void WritePagesObject();
  void WriteCatalogObject();
  // The objects that stand in for lost fonts and XObjects, each once, when a mend recorded in the
  // summary pointed a reference at them.
  void WriteReplacements();
  // False when an object was written past the largest offset a table entry can hold.
  bool OffsetsFitTable() const;
  void WriteXrefTable();
  void WriteTrailer();
  void WriteStartXref();

 private:
  // The pages in the order of the old page tree: the leaves of a walk from the catalog's /Pages.
  std::vector<std::int64_t> PageTreeLeaves();
  // `visited` holds a flag per record index of the object list.
  void WalkPageTree(std::int64_t number, int level, std::vector<bool>& visited,
                    std::vector<std::int64_t>& leaves);
  // The entries of the source's catalog (object `number`) other than /Type and /Pages, each on a
  // line of its own, as they stand in the source.
  std::string CatalogEntries(std::int64_t number);
  void WriteObject(std::int64_t number, std::string_view value);
  // The /Info reference of the trailer record in force, 0 when it has none.
  std::int64_t TrailerInfoNumber();

  const CopyPlan& plan_;
  SourceReader& source_;
  OutputWriter& output_;
  RebuildSummary& summary_;
  // The trailer entries the scan captured, each cleared once written.
  TrailerProtection protection_;
  bool decodeParmsSeen_;
  std::vector<XrefEntry> xrefEntries_;
  std::uint64_t xrefOffset_ = 0;
  std::uint64_t xrefSize_ = 0;
};

}  // namespace tarnwick
