// Fuzz target: arbitrary file bytes through the whole build of a document.
// The first byte chooses the tab size (1 to 16) and whether ANSI support is
// on; the rest is the file. Any broken invariant aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/text_document.h"
#include "tests/unit/document/document_invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  mosaikon::LoadOptions options;
  options.tabSize = 1 + (data[0] & 0x0F);
  options.supportAnsi = (data[0] & 0x10) != 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

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
  if (!failure.empty()) {
    std::fprintf(stderr, "document invariant broken: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
