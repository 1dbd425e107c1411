#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "copy_plan.h"
#include "job_progress.h"
#include "output_writer.h"
#include "pdf_syntax.h"
#include "rebuild_summary.h"
#include "source_reader.h"
#include "standard_security.h"
#include "stream_decode.h"
#include "value_mender.h"
#include "xref_entry.h"

namespace tarnwick {

// Step 2 proper: every object the plan copies, in table order (newest first), byte for byte
// except where it must not be: pages get their Parent pointed at the new page tree and the
// attributes they inherited from the old one, and streams that readers would have to guess at
// are mended. Bounds what it decodes and adds by budgets that grow with the source.
class ObjectCopier {
 public:
  ObjectCopier(const CopyPlan& plan, SourceReader& source, OutputWriter& output,
               JobProgress& progress, std::vector<XrefEntry>& xrefEntries,
               RebuildSummary& summary);

  // False when the job must end (stop, or a read or write failed).
  bool CopyObjects();

 private:
  // What an old page-tree node hands down: the raw values of /Resources, /MediaBox, /CropBox and
  // /Rotate (empty when the node has none), and its own parent's number.
  struct TreeNode {
    std::array<std::string, 4> attributes;
    std::int64_t parent = 0;
  };

  // Writes an object mended when its value does not parse whole or names an object the copy does
  // not hold; false (nothing written) when it is to be copied as it stands (object_mend.cpp).
  // A page's Parent entry becomes the new tree's, followed by the `inherited` entries. `index`
  // is the record's place in the object list.
  bool CopyMendedObject(std::size_t index, bool isPage, const std::string& inherited);
  // The value of the object from `body` to `end`, read from a window that grows as needed.
  MendedValue MendWindow(SourceReader& reader, std::int64_t body, std::int64_t end,
                         const std::vector<EntryEdit>& edits, bool rewrite);
  // Writes a stream object anew: its dictionary mended, /Length the true length of its data,
  // which ends at its "endstream" or, when that is missing, where the object ends.
  bool CopyStreamAnew(const ObjectRecord& record, std::int64_t body, std::int64_t dictionaryEnd,
                      std::int64_t dataStart);
  // The first "endstream" in [from, to).
  std::optional<std::int64_t> FirstEndstream(std::int64_t from, std::int64_t to);
  // The same for a stream whose data follows its "stream" keyword at `streamKeyword`.
  bool CopyStreamAfter(const ObjectRecord& record, std::int64_t body, std::int64_t streamKeyword);
  void NoteObjectMends(std::int64_t number, const std::vector<ObjectMend>& mends);
  // For page content whose compressed data stops decoding, what decoded of it, compressed anew
  // (nothing decoded when it is `cutShort` under a filter not read here); nothing for every
  // other stream.
  std::optional<std::vector<std::uint8_t>> DecodedContentPrefix(
      const ObjectRecord& record, const std::string& dictionaryText, std::int64_t dataStart,
      std::int64_t dataEnd, bool cutShort);

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
  // The document's handler when the stream's data is encrypted with it and mending may decrypt
  // it to check it, else null.
  const StandardSecurity* DecryptingSecurity(PdfSyntax& syntax,
                                             const PdfDictionary& dictionary) const;
  // The end of AES data taken up to the end of line before its "endstream" when that makes it
  // whole blocks.
  static std::int64_t WholeBlocksEnd(std::int64_t dataStart, std::int64_t dataEnd,
                                     std::int64_t endstream);
  // The encrypted data in [begin, end) of `reader` decrypted with the key of `record` and
  // decoded, within the budget; the plain text is held only while it decodes.
  std::optional<DecodedStream> DecodeDecrypted(const ObjectRecord& record,
                                               const StandardSecurity& security,
                                               SourceReader& reader, std::int64_t begin,
                                               std::int64_t end, const StreamFilter& filter);
  // Mended data as the copy writes it: encrypted again under the key of `record` when the
  // stream was decrypted (`security`), else as it is.
  static std::vector<std::uint8_t> Sealed(const ObjectRecord& record,
                                          const StandardSecurity* security,
                                          std::vector<std::uint8_t> data);
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
  void CopySourceBytes(std::int64_t from, std::int64_t to) { CopyReaderBytes(source_, from, to); }
  void CopyReaderBytes(SourceReader& reader, std::int64_t from, std::int64_t to);

  // Copies one chunk of a page; true when its Parent entry was rewritten, in which case the
  // `inherited` entries follow the new reference.
  bool CopyPageChunk(const std::uint8_t* chunk, std::size_t length, const std::string& inherited);
  // The attributes a page inherited from its old ancestors and lacks itself, as entries to add
  // (inherited_attributes.cpp).
  std::string InheritedEntries(const ObjectRecord& page);
  // The number after "/Parent" when the page's bytes hold that key exactly once.
  std::optional<std::int64_t> SoleParentNumber(const ObjectRecord& page);
  // Whether a node of the old tree from `parent` up has any attribute to hand down.
  bool AncestorsHandDown(std::int64_t parent);
  const TreeNode& TreeNodeOf(std::int64_t number);  // read once per job and number

  const CopyPlan& plan_;
  SourceReader& source_;
  OutputWriter& output_;
  JobProgress& progress_;
  std::vector<XrefEntry>& xrefEntries_;
  std::vector<MendedStream>& mendedStreams_;
  std::vector<ObjectMend>& mendedObjects_;
  ReferenceRepair referenceRepair_;

  // The numbers that indirect /Length entries named, as read once.
  std::unordered_map<std::int64_t, std::optional<std::int64_t>> lengthObjects_;
  // The old page-tree nodes read for inherited attributes, per object number.
  std::unordered_map<std::int64_t, TreeNode> treeNodes_;
  // How many bytes of inherited attributes the pages may still be given.
  std::uint64_t inheritedBytesLeft_;
  // How many more bytes the job may decode to check and mend streams.
  std::uint64_t decodeBudget_;
};

}  // namespace tarnwick
