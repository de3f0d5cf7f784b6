// The document model and loading: lines as windows onto the text, the byte
// clean-up and UTF-16 conversion, the choice between plain and ANSI documents,
// loading real files (a failed load keeps the previous document), and the
// invariants on every file of the shared corpus.
#include "document/text_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/unit/document/document_invariants.h"
#include "tests/unit/temp_file.h"

namespace mosaikon {
namespace {

using testing::CheckDocumentInvariants;
using testing::LineTexts;
using testing::TempFile;

const std::string kUtf16Mark = "\xff\xfe";  // little-endian

TextDocument Built(const std::string& bytes, LoadOptions options = {}) {
  TextDocument document;
  document.Build(bytes, options);
  return document;
}

struct BuildCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

TEST(TextDocument, BuildConvertsUtf16AndCountsLongBreakRuns) {
  const BuildCase cases[] = {
      {"utf-16 with mark", kUtf16Mark + std::string("A\0\r\0\n\0B\0", 8), {"A", "B"}},
      {"odd final byte dropped", kUtf16Mark + std::string("A\0B", 3), {"A"}},
      {"mark and one byte is empty", kUtf16Mark + "A", {}},
      {"utf-16 NUL becomes a blank", kUtf16Mark + std::string("A\0\0\0B\0", 6), {"A B"}},
      // The break counts of the first pass must not wrap after 255 blocks of 16 bytes.
      {"a run of 4096 LF before a CR is one break", std::string(4096, '\n') + "\r", {"", ""}},
  };
  for (const BuildCase& c : cases) {
    const TextDocument document = Built(c.bytes);
    EXPECT_EQ(LineTexts(document), c.lines) << c.name;
    EXPECT_FALSE(document.ansi) << c.name;
    EXPECT_EQ(CheckDocumentInvariants(document, 8), "") << c.name;
  }
}

TEST(TextDocument, EscapeBracketChoosesAnAnsiDocumentUnlessAnsiIsOff) {
  const std::string art = "\x1b[31mred http://x\r\nplain";
  const TextDocument ansi = Built(art);
  EXPECT_TRUE(ansi.ansi);
  EXPECT_EQ(CheckDocumentInvariants(ansi, 8), "");  // no link marks among them
  LoadOptions noAnsi;
  noAnsi.supportAnsi = false;
  const TextDocument plain = Built(art, noAnsi);
  EXPECT_FALSE(plain.ansi);
  EXPECT_EQ(LineTexts(plain), (std::vector<std::string>{"\x1b[31mred http://x", "plain"}));
  EXPECT_EQ(plain.lines[0].LinkMask(), std::string(9, '0') + std::string(8, '1'));
}

TEST(TextDocument, OnlyEscapeBracketMakesAnAnsiDocument) {
  // The scan goes in blocks of 16 bytes: ESC "[" may straddle two of them.
  const std::pair<std::string, bool> cases[] = {
      {"a\x1bx[", false},
      {"[\x1b", false},
      {"abc\x1b", false},
      {"\x1b\n[", false},
      {std::string(15, 'x') + "\x1b[" + std::string(23, 'x'), true},
      {std::string(31, 'y') + "\x1b\n", false},
  };
  for (const auto& [text, ansi] : cases) EXPECT_EQ(Built(text).ansi, ansi) << ::testing::PrintToString(text);
}

TEST(TextDocument, WidthIsMeasuredAgainForAnotherTabSize) {
  const std::string text = "ab\tc\r\n\t\tx\r\n0123456789";
  for (int tabSize : {1, 4, 64, 0, 5000}) {
    TextDocument document = Built(text, {8, true});
    document.MeasureWidth(tabSize);
    EXPECT_EQ(document.width, Built(text, {tabSize, true}).width) << tabSize;
  }
  // Art keeps the width of its canvas.
  TextDocument art = Built("\x1b[31m\tred\t!");
  const std::int32_t width = art.width;
  art.MeasureWidth(1000);
  EXPECT_EQ(art.width, width);
}

TEST(TextDocument, LoadReplacesTheDocumentOnlyWhenItSucceeds) {
  // The size is the file's, before the UTF-16 conversion.
  const std::string utf16 = kUtf16Mark + std::string("A\0\r\0\n\0B\0", 8);
  const std::vector<std::string> lines = {"A", "B"};
  TempFile file(utf16);
  TextDocument document;
  document.Build("\x1b[31mold text\nhttp://x", {});
  ErrorCode error = 0;
  ASSERT_TRUE(document.LoadFile(file.path(), {}, error));
  EXPECT_EQ(LineTexts(document), lines);
  EXPECT_FALSE(document.ansi);
  EXPECT_EQ(document.fileSize, utf16.size());
  EXPECT_NE(document.fileTime.year, 0);
  const FileTime time = document.fileTime;

  EXPECT_FALSE(document.LoadFile(file.path() + ".missing", {}, error));
  EXPECT_NE(error, 0u);
  EXPECT_FALSE(SystemErrorText(error).empty());
  EXPECT_EQ(LineTexts(document), lines);
  EXPECT_EQ(document.fileSize, utf16.size());
  EXPECT_EQ(document.fileTime, time);
  EXPECT_EQ(CheckDocumentInvariants(document, 8), "");

  file.Write("");
  ASSERT_TRUE(document.LoadFile(file.path(), {}, error));
  EXPECT_EQ(document.LineCount(), 0);
  EXPECT_EQ(document.fileSize, 0u);
}

// Every file loads by both rules, with ANSI support on and off and in every
// decode mode of the modern rules, and holds the invariants.
TEST(TextDocument, CorpusFilesHoldTheInvariants) {
  const std::filesystem::path corpus = MOSAIKON_SOURCE_DIR "/../shared/corpus";
  std::error_code status;
  if (!std::filesystem::is_directory(corpus, status)) GTEST_SKIP() << "no corpus at " << corpus.string();
  std::vector<LoadOptions> choices(5);
  choices[1].supportAnsi = false;
  for (std::int32_t decodeMode : {0, 1, 2}) {
    choices[2 + decodeMode].modern = true;
    choices[2 + decodeMode].decodeMode = decodeMode;
  }
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    for (const LoadOptions& options : choices) {
      SCOPED_TRACE(entry.path().string() + (options.supportAnsi ? "" : ", ANSI off") +
                   (options.modern ? ", modern rules, decode mode " + std::to_string(options.decodeMode) : ""));
      TextDocument document;
      ErrorCode error = 0;
      ASSERT_TRUE(document.LoadFile(entry.path().string(), options, error));
      EXPECT_EQ(document.fileSize, entry.file_size());
      EXPECT_EQ(CheckDocumentInvariants(document, options.tabSize), "");
      EXPECT_TRUE(options.supportAnsi || !document.ansi);
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace mosaikon
