// The rows of the Properties dialog: the file's own facts, the art's record
// with its dates, types, size hints, flags and comments, and texts that a
// language pack replaces.
#include "shell/properties_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace mosaikon {
namespace {

using Rows = std::vector<std::pair<std::u16string, std::u16string>>;

Rows Texts(const std::vector<PropertyRow>& rows) {
  Rows texts;
  for (const PropertyRow& row : rows) texts.emplace_back(row.labelText, row.value);
  return texts;
}

TextDocument Document(const std::string& bytes) {
  TextDocument document;
  document.Build(bytes, {});
  document.fileSize = 1234567;
  document.fileTime = {2002, 12, 2, 31, 23, 59, 7, 0};
  return document;
}

std::u16string ValueOf(const std::vector<PropertyRow>& rows, PropertyText label) {
  for (const PropertyRow& row : rows) {
    if (row.label == label) return row.value;
  }
  return u"(none)";
}

SauceRecord Record(std::uint8_t dataType, std::uint8_t fileType) {
  SauceRecord sauce;
  sauce.date = "20240229";
  sauce.dataType = dataType;
  sauce.fileType = fileType;
  sauce.tInfo1 = 640;
  sauce.tInfo2 = 350;
  return sauce;
}

TEST(PropertyRows, FileFactsWithoutARecord) {
  const TextDocument document = Document("one\ttab\r\ntwo");
  EXPECT_EQ(Texts(PropertyRows(document, u"C:\\art\\caf\u00e9.txt")), (Rows{
                                                                          {u"Path", u"C:\\art\\caf\u00e9.txt"},
                                                                          {u"Size", u"1,234,567 bytes"},
                                                                          {u"Modified", u"2002-12-31 23:59:07"},
                                                                          {u"Kind", u"Plain text"},
                                                                          {u"Lines", u"2"},
                                                                          {u"Width", u"11 columns"},
                                                                      }));
}

TEST(PropertyRows, ArtRecordAfterTheFileFacts) {
  TextDocument document = Document("\x1b[1mart");
  SauceRecord sauce = Record(1, 1);
  sauce.title = "\xC9\xCD\xBB Box";
  sauce.author = "Artist";
  sauce.group = "Group";
  sauce.tInfo1 = 80;
  sauce.tInfo2 = 25;
  sauce.tFlags = 0x13;
  sauce.tInfoS = "IBM VGA";
  sauce.comments = {"first", "", "third"};
  document.sauce = sauce;
  const Rows rows = Texts(PropertyRows(document, u"a.ans"));
  ASSERT_EQ(rows.size(), 21u);
  EXPECT_EQ(rows[3], (std::pair<std::u16string, std::u16string>{u"Kind", u"ANSI art"}));
  EXPECT_EQ(Rows(rows.begin() + 6, rows.end()), (Rows{
                                                    {u"Title", u"\u2554\u2550\u2557 Box"},
                                                    {u"Author", u"Artist"},
                                                    {u"Group", u"Group"},
                                                    {u"Date", u"2024-02-29"},
                                                    {u"Data type", u"Character"},
                                                    {u"File type", u"ANSi"},
                                                    {u"Art width", u"80 columns"},
                                                    {u"Art height", u"25 lines"},
                                                    {u"iCE colours", u"Yes"},
                                                    {u"Letter spacing", u"8 pixels"},
                                                    {u"Aspect ratio", u"Square pixels"},
                                                    {u"Font", u"IBM VGA"},
                                                    {u"Comments", u"first"},
                                                    {u"", u""},
                                                    {u"", u"third"},
                                                }));
}

TEST(PropertyRows, DatesShownAsDatesOnlyWhenTheyAreOnes) {
  const std::pair<const char*, std::u16string> cases[] = {
      {"20240229", u"2024-02-29"},
      {"20230229", u"20230229"},
      {"21000229", u"21000229"},
      {"20001231", u"2000-12-31"},
      {"20001301", u"20001301"},
      {"2000010", u"2000010"},
      {"", u""},
      {"1999-1-1", u"1999-1-1"},
      {"\xB0", u"\u2591"},
  };
  for (const auto& [date, shown] : cases) {
    TextDocument document = Document("x");
    document.sauce = Record(1, 1);
    document.sauce->date = date;
    EXPECT_EQ(ValueOf(PropertyRows(document, u""), PropertyText::kDate), shown) << date;
  }
}

TEST(PropertyRows, TypeDecidesHintsAndFlags) {
  struct Case {
    const char* name;
    std::uint8_t dataType;
    std::uint8_t fileType;
    std::u16string dataName, fileName, width, height, ice;
  };
  const Case cases[] = {
      {"ASCII", 1, 0, u"Character", u"ASCII", u"640 columns", u"350 lines", u"No"},
      {"RIP script in pixels", 1, 3, u"Character", u"RIP script", u"640 pixels", u"350 pixels", u"(none)"},
      {"HTML has no size", 1, 6, u"Character", u"HTML", u"(none)", u"(none)", u"(none)"},
      {"unknown character type", 1, 42, u"Character", u"Unknown (42)", u"640 columns", u"350 lines", u"(none)"},
      {"bitmap", 2, 10, u"Bitmap", u"PNG", u"640 pixels", u"350 pixels", u"(none)"},
      {"binary text keeps its width in the file type", 5, 80, u"Binary text", u"(none)", u"160 columns", u"(none)",
       u"No"},
      {"XBin", 6, 0, u"XBin", u"(none)", u"640 columns", u"350 lines", u"(none)"},
      {"archive", 7, 6, u"Archive", u"RAR", u"(none)", u"(none)", u"(none)"},
      {"unknown data type", 42, 0, u"Unknown (42)", u"(none)", u"(none)", u"(none)", u"(none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TextDocument document = Document("x");
    document.sauce = Record(c.dataType, c.fileType);
    const auto rows = PropertyRows(document, u"");
    EXPECT_EQ(ValueOf(rows, PropertyText::kDataType), c.dataName);
    EXPECT_EQ(ValueOf(rows, PropertyText::kFileType), c.fileName);
    EXPECT_EQ(ValueOf(rows, PropertyText::kWidthHint), c.width);
    EXPECT_EQ(ValueOf(rows, PropertyText::kHeightHint), c.height);
    EXPECT_EQ(ValueOf(rows, PropertyText::kIceColours), c.ice);
  }
}

TEST(PropertyRows, TextsComeFromTheGivenSource) {
  const PropertyTexts german = [](PropertyText id) -> std::u16string {
    switch (id) {
      case PropertyText::kSize:
        return u"Gr\u00f6\u00dfe";
      case PropertyText::kBytes:
        return u"%1 Bytes";
      case PropertyText::kThousandsSeparator:
        return u".";
      default:
        return EnglishPropertyText(id);
    }
  };
  const auto rows = PropertyRows(Document("x"), u"", german);
  EXPECT_EQ(rows[1].labelText, u"Gr\u00f6\u00dfe");
  EXPECT_EQ(rows[1].value, u"1.234.567 Bytes");
}

TEST(PropertyRows, EveryTextHasEnglish) {
  for (auto id = static_cast<std::uint32_t>(PropertyText::kPath);
       id <= static_cast<std::uint32_t>(PropertyText::kThousandsSeparator); ++id) {
    EXPECT_FALSE(EnglishPropertyText(static_cast<PropertyText>(id)).empty()) << id;
  }
}

TEST(GroupedNumber, ThreeDigitGroups) {
  const std::pair<std::uint64_t, std::u16string> cases[] = {
      {0, u"0"},
      {999, u"999"},
      {1000, u"1,000"},
      {123456, u"123,456"},
      {1234567, u"1,234,567"},
      {18446744073709551615u, u"18,446,744,073,709,551,615"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(GroupedNumber(value, u","), text) << value;
}

}  // namespace
}  // namespace mosaikon
