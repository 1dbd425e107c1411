#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "document_protection.h"
#include "number_table.h"
#include "pdf_syntax.h"
#include "scan_results.h"
#include "source_reader.h"
#include "value_mender.h"

namespace tarnwick {

// What the copy takes from the scan, decided once before anything is written and read-only
// afterwards: the trailer record in force, which version of each number is copied, which objects
// are pages and which streams are their content, whether each page has all its content, and the
// number of the new Pages object.
class CopyPlan {
 public:
  // With `mend`, the copy also mends what a strict reader would reject (see ObjectCopier).
  // `protection` is what the copy's trailer carries of the source's encryption, `security` the
  // source's handler when a password opened it (else null).
  CopyPlan(const ScanResults& results, SourceReader& source, SourceReader& unpacked, bool mend,
           const TrailerProtection& protection, const StandardSecurity* security);

  const ScanResults& Results() const { return results_; }
  // The trailer record in force, its Root as the source gives it (0 when unknown).
  const TrailerRecord& Trailer() const { return trailer_; }
  // The record the rebuild made itself when the source had no usable trailer.
  const std::optional<TrailerRecord>& FallbackTrailer() const { return fallbackTrailer_; }
  const TrailerProtection& Protection() const { return protection_; }
  bool Encrypted() const { return protection_.encrypted; }
  // The handler that decrypts and encrypts the copy's streams, null when no password opened
  // the source or it is not encrypted.
  const StandardSecurity* Security() const { return security_; }
  std::uint64_t NewPagesNumber() const { return newPagesNumber_; }
  // The number of the new catalog: the source's Root, else the one after the new Pages object.
  std::int64_t OutputRoot() const;
  bool Mending() const { return mend_; }
  // The numbers of the objects that stand in for a lost font and a lost XObject when mending.
  std::int64_t FontReplacementNumber() const;
  std::int64_t FormReplacementNumber() const { return FontReplacementNumber() + 1; }
  // How mending resolves a reference to an object the copy does not hold.
  ReferenceRepair Repair() const {
    return {[this](std::int64_t number) { return Holds(number); },
            [this](std::int64_t number) { return HoldsDictionary(number); },
            FontReplacementNumber(), FormReplacementNumber()};
  }

  // Whether the record at `index` of the object list goes into the output.
  bool IsCopied(std::size_t index) const { return copied_[index]; }
  // Whether a record of `number` goes into the output.
  bool WasCopied(std::int64_t number) const;
  // Whether the mended copy holds an object of `number` that a source's reference may name: a
  // copied object with a value, the catalog under the source's Root number, or the old page
  // tree's root that the new one replaces. Every number counts
  // when packed objects were copied unread, since any reference may name one of them.
  bool Holds(std::int64_t number) const;
  // Whether it holds one of `number` whose value begins as a dictionary.
  bool HoldsDictionary(std::int64_t number) const;
  // Whether the mended copy leaves out the record at `index`: nothing of its value parses.
  bool IsLeftOut(std::size_t index) const { return !leftOut_.empty() && leftOut_[index]; }
  bool IsPage(std::int64_t number) const {
    return std::binary_search(pageNumbers_.begin(), pageNumbers_.end(), number);
  }
  // Whether a page's /Contents names the stream `number`.
  bool IsContentStream(std::int64_t number) const {
    return std::binary_search(contentStreams_.begin(), contentStreams_.end(), number);
  }
  // Whether the newest version of `number` has all the content streams it names.
  bool PagePasses(std::int64_t number) const;

  // The newest record of `number` of a kind the copy takes, or null.
  const ObjectRecord* NewestRecord(std::int64_t number) const;
  // Its index in the object list.
  std::optional<std::size_t> NewestIndex(std::int64_t number) const { return newest_.Find(number); }
  // Whether the newest version at `index` has all the content streams it names.
  bool PagePassesAt(std::size_t index) const { return pagePasses_[index]; }
  // The reader that holds a record's bytes: the source, or the unpacked objects.
  SourceReader& ReaderOf(const ObjectRecord& record) const;
  // The dictionary that opens a record's object, when it reads as one.
  std::optional<PdfDictionary> DictionaryOf(const ObjectRecord& record) const;
  // Where a record's value begins: the byte after its header's "obj"; none without a header.
  std::optional<std::int64_t> BodyStart(const ObjectRecord& record) const;
  // The same for the copied record at `index`, as the mended copy's plan found it.
  std::optional<std::int64_t> CopiedBodyStart(std::size_t index) const;

 private:
  void MakeFallbackTrailer();
  // Makes the trailer record from the cross-reference streams, each entry from the newest that
  // has it; false when there are none.
  bool TakeXrefStreamTrailer();
  void ComputeNewPagesNumber();
  // Picks the version of each number that the copy writes: the newest of a kind it copies, and
  // marks the records that go into the output.
  void ChooseVersions();
  bool DecideCopied(std::size_t index) const;
  // Answers the page check for every page, and for the Kids arrays' references when the scan
  // found no page dictionary, in one pass over them in file order. When mending, the same pass
  // finds the valueless objects.
  void CheckPages();
  // Whether nothing of the copied record's value parses, so that the mended copy leaves it out;
  // notes where its value begins.
  void CheckValueStarts(std::size_t index);
  // Of the kinds, object streams are copied only when the source is encrypted and they could not
  // be read, their unpacked objects only when they could.
  bool IsCopiedKind(const ObjectRecord& record) const;
  // Appends the objects a page's /Contents entries name to `references`.
  void ContentReferences(const ObjectRecord& page, std::vector<std::int64_t>& references) const;
  // Whether every object a page's /Contents names was found.
  bool ContentsPresent(std::span<const std::int64_t> references) const;

  const ScanResults& results_;
  SourceReader& source_;
  SourceReader& unpacked_;
  TrailerProtection protection_;
  const StandardSecurity* security_;
  bool mend_;
  // Per record index: whether the mended copy leaves it out (empty until one is), and where its
  // value begins after the start of its header (kNoBody without a header). Both are kept only
  // when mending, at a bit and a byte a record.
  std::vector<bool> leftOut_;
  std::vector<std::uint8_t> bodyOffsets_;
  static constexpr std::uint8_t kNoBody = 0xFF;
  std::vector<bool> dictionaryValue_;  // per record index: its value begins with "<<"
  std::vector<bool> copied_;  // per record index: whether it goes into the output
  std::optional<TrailerRecord> fallbackTrailer_;
  TrailerRecord trailer_;
  std::uint64_t newPagesNumber_ = 0;

  // Sets of numbers as sorted lists: built at once, with nothing allocated per member.
  std::vector<std::int64_t> pageNumbers_;
  NumberTable recordNumbers_;  // of every record, older versions included
  // Per listable object number: the index of the version that is copied.
  NumberTable newest_;
  // Per record index: whether a page, or a Kids entry's object, that is the newest version of
  // its number has all its content streams.
  std::vector<bool> pagePasses_;
  // The streams that the newest versions of the pages name as their content.
  std::vector<std::int64_t> contentStreams_;
};

}  // namespace tarnwick
