// The Settings dialog's portable rules: the FileTypes text rebuilt from the
// list, the extension typed into the Add File Type dialog and the types it
// refuses, and the General page's number fields.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "settings/file_types.h"
#include "settings/number_field.h"

namespace mosaikon {
namespace {

TEST(FileTypes, ListIsRebuiltWithASemicolonAfterEachEntry) {
  EXPECT_EQ(JoinFileTypes({"asc", "nfo", "txt"}), "asc;nfo;txt;");
  EXPECT_EQ(JoinFileTypes({}), "");
}

TEST(FileTypes, TypedExtensionKeeps31BytesTrimmedWithOneLeadingDotRemoved) {
  const std::string many(40, 'x');
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {".TXT", "TXT"},
      {"..asc", ".asc"},
      {" \t.nfo \r\n", "nfo"},
      {".a b.c", "a b.c"},
      {many, many.substr(0, 31)},
      {"   " + many, many.substr(0, 28)},  // cut first, then trimmed
      {"", std::nullopt},
      {".", std::nullopt},
      {" . ", std::nullopt},
      // Two entries, a subkey, what no file name holds, a control code.
      {"a;b", std::nullopt},
      {"a\\b", std::nullopt},
      {"Shell\\Open", std::nullopt},
      {".txt;", std::nullopt},
      {"a/b", std::nullopt},
      {"a:b", std::nullopt},
      {"a*", std::nullopt},
      {"a?", std::nullopt},
      {"\"a\"", std::nullopt},
      {"<a>", std::nullopt},
      {"a|b", std::nullopt},
      {"a\tb", std::nullopt},
      {std::string("a\x7F"), std::nullopt},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(ExtensionFromInput(typed), expected) << "\"" << typed << "\"";
}

TEST(FileTypes, TypesOfProgramsAndShortcutsAreKnownWhateverTheirCase) {
  for (const char* type : {"exe", "COM", "bat", "Cmd", "pif", "scr", "lnk", "msi", "reg", "vbs", "ps1", "url"})
    EXPECT_TRUE(IsExecutableType(type)) << type;
  for (const char* type : {"txt", "nfo", "ans", "ex", "exe2", ".exe", "exe ", "\xC9XE"})
    EXPECT_FALSE(IsExecutableType(type)) << type;
}

TEST(NumberField, EmptyOrZeroGivesTheDefaultAndLargeNumbersNeverWrap) {
  struct Case {
    const char* text;
    std::int32_t tabSize, murFileNum;
  };
  const Case cases[] = {{"", 8, 10},
                        {"0", 8, 10},
                        {"7x", 8, 10},
                        {" 12 ", 12, 12},
                        {"1000", 999, 1000},
                        {"1001", 999, 1000},
                        {"4294967297", 999, 1000}};
  for (const Case& c : cases) {
    EXPECT_EQ(ReadNumberField(c.text, kTabSizeField), c.tabSize) << "\"" << c.text << "\"";
    EXPECT_EQ(ReadNumberField(c.text, kMurFileNumField), c.murFileNum) << "\"" << c.text << "\"";
  }
  // A stored value shows as it is, but never above what OK could store.
  EXPECT_EQ(ShownNumber(-5, kTabSizeField), -5);
  EXPECT_EQ(ShownNumber(2147483647, kMurFileNumField), 1000);
}

}  // namespace
}  // namespace mosaikon
