// Fuzz target: arbitrary file bytes through the whole build of a document.
// The first byte chooses the tab size (1 to 16), whether ANSI support is on
// and whether the file's tail is turned into a metadata record (bit 0x20,
// with its comment signature where the count points: bit 0x40); the rest is
// the file. Any broken invariant aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/text_document.h"
#include "tests/unit/document/document_invariants.h"

namespace {

// The record is there exactly when the file ends in one, and its comments
// exactly when their block is where the count says.
std::string CheckSauce(const std::string& bytes, const mosaikon::TextDocument& document) {
  using mosaikon::kSauceRecordSize;
  const bool carries =
      bytes.size() >= kSauceRecordSize && bytes.compare(bytes.size() - kSauceRecordSize, 7, "SAUCE00") == 0;
  if (document.sauce.has_value() != carries) return "the record's presence differs from the file's tail";
  if (!carries) return "";
  const std::size_t record = bytes.size() - kSauceRecordSize;
  const std::size_t block = 5 + document.sauce->commentCount * mosaikon::kSauceCommentLineSize;
  const bool commented = block > 5 && block <= record && bytes.compare(record - block, 5, "COMNT") == 0;
  if (document.sauce->comments.size() != (commented ? document.sauce->commentCount : 0u)) {
    return "comments do not match their block";
  }
  return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  mosaikon::LoadOptions options;
  options.tabSize = 1 + (data[0] & 0x0F);
  options.supportAnsi = (data[0] & 0x10) != 0;
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 0x20) != 0 && bytes.size() >= mosaikon::kSauceRecordSize) {
    const std::size_t record = bytes.size() - mosaikon::kSauceRecordSize;
    bytes.replace(record, 7, "SAUCE00");
    const std::size_t block = 5 + static_cast<unsigned char>(bytes[record + 104]) * mosaikon::kSauceCommentLineSize;
    if ((data[0] & 0x40) != 0 && block <= record) bytes.replace(record - block, 5, "COMNT");
  }

  mosaikon::TextDocument document;
  document.Build(bytes, options);
  std::string failure = mosaikon::testing::CheckDocumentInvariants(document, options.tabSize);

  // A plain document without a byte-order mark keeps the file's bytes, only
  // NUL and 0xFF blanked.
  const bool utf16 = bytes.size() > 2 && bytes[0] == '\xff' && bytes[1] == '\xfe';
  if (failure.empty() && !document.ansi && !utf16) {
    std::string expected = bytes;
    for (char& c : expected) {
      if (c == '\0' || c == '\xff') c = ' ';
    }
    if (document.text != expected) failure = "the plain text differs from the cleaned input";
  }
  if (failure.empty()) failure = CheckSauce(bytes, document);
  if (!failure.empty()) {
    std::fprintf(stderr, "document invariant broken: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
