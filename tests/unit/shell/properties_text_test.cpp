// The rows of the Properties dialog: the file's own facts, the art's record
// with its dates, types, size hints, flags and comments, and texts that a
// language pack replaces.
#include "shell/properties_text.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace mosaikon {
namespace {

using Rows = std::vector<std::pair<std::u16string, std::u16string>>;

TextDocument Document(const std::string& bytes, std::uint8_t dataType = 1, std::uint8_t fileType = 1) {
  TextDocument document;
  document.Build(bytes, {});
  document.fileSize = 1234567;
  document.fileTime = {2002, 12, 2, 31, 23, 59, 7, 0};
  document.sauce.emplace();
  document.sauce->date = "20240229";
  document.sauce->dataType = dataType;
  document.sauce->fileType = fileType;
  document.sauce->tInfo1 = 640;
  document.sauce->tInfo2 = 350;
  return document;
}

std::u16string ValueOf(const TextDocument& document, PropertyText label) {
  for (const PropertyRow& row : PropertyRows(document, u"")) {
    if (row.label == label) return row.value;
  }
  return u"-";
}

TEST(PropertyRows, FileFactsThenTheArtRecord) {
  TextDocument document = Document("one\ttab\r\ntwo");
  const auto texts = [&document] {
    Rows rows;
    for (const PropertyRow& row : PropertyRows(document, u"C:\\art\\caf\u00e9.txt")) {
      rows.emplace_back(row.labelText, row.value);
    }
    return rows;
  };
  const Rows facts = {{u"Path", u"C:\\art\\caf\u00e9.txt"},
                      {u"Size", u"1,234,567 bytes"},
                      {u"Modified", u"2002-12-31 23:59:07"},
                      {u"Kind", u"Plain text"},
                      {u"Lines", u"2"},
                      {u"Width", u"11 columns"}};
  document.sauce.reset();
  EXPECT_EQ(texts(), facts);

  document.sauce.emplace();
  SauceRecord& sauce = *document.sauce;
  sauce = {"\xC9\xCD\xBB Box", "Artist", "Group", "20240229", 0, 1, 1, 80, 25, 0, 0, 3, 0x13, "IBM VGA"};
  sauce.comments = {"first", "", "third"};
  Rows expected = facts;
  expected.insert(expected.end(), {{u"Title", u"\u2554\u2550\u2557 Box"},
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
                                   {u"", u"third"}});
  EXPECT_EQ(texts(), expected);
}

TEST(PropertyRows, DatesShownAsDatesOnlyWhenTheyAreOnes) {
  TextDocument document = Document("x");
  for (const char* date : {"20230229", "21000229", "20001301", "20000100", "2000010", "", "\xB0"}) {
    document.sauce->date = date;
    EXPECT_EQ(ValueOf(document, PropertyText::kDate), DecodeCp437(date)) << date;
  }
  document.sauce->date = "20001231";
  EXPECT_EQ(ValueOf(document, PropertyText::kDate), u"2000-12-31");
}

TEST(PropertyRows, TypeDecidesNamesHintsAndFlags) {
  // Data type | file type | width | height | iCE colours.
  const std::tuple<int, int, std::u16string> cases[] = {
      {1, 0, u"Character|ASCII|640 columns|350 lines|No"},
      {1, 3, u"Character|RIP script|640 pixels|350 pixels|-"},
      {1, 6, u"Character|HTML|-|-|-"},
      {1, 42, u"Character|Unknown (42)|640 columns|350 lines|-"},
      {2, 10, u"Bitmap|PNG|640 pixels|350 pixels|-"},
      {5, 80, u"Binary text|-|160 columns|-|No"},  // the file type holds half the width
      {6, 0, u"XBin|-|640 columns|350 lines|-"},
      {7, 6, u"Archive|RAR|-|-|-"},
      {42, 0, u"Unknown (42)|-|-|-|-"},
  };
  for (const auto& [dataType, fileType, expected] : cases) {
    const TextDocument document =
        Document("x", static_cast<std::uint8_t>(dataType), static_cast<std::uint8_t>(fileType));
    std::u16string shown;
    for (const PropertyText label : {PropertyText::kDataType, PropertyText::kFileType, PropertyText::kWidthHint,
                                     PropertyText::kHeightHint, PropertyText::kIceColours}) {
      shown.append(shown.empty() ? u"" : u"|").append(ValueOf(document, label));
    }
    EXPECT_EQ(shown, expected) << dataType << "/" << fileType;
  }
}

TEST(PropertyRows, TextsComeFromTheGivenSourceAndAllHaveEnglish) {
  const PropertyTexts german = [](PropertyText id) -> std::u16string {
    if (id == PropertyText::kSize) return u"Gr\u00f6\u00dfe";
    if (id == PropertyText::kBytes) return u"%1 Bytes";
    if (id == PropertyText::kThousandsSeparator) return u".";
    return EnglishPropertyText(id);
  };
  const auto rows = PropertyRows(Document("x"), u"", german);
  EXPECT_EQ(rows[1].labelText, u"Gr\u00f6\u00dfe");
  EXPECT_EQ(rows[1].value, u"1.234.567 Bytes");
  for (auto id = static_cast<std::uint32_t>(PropertyText::kPath);
       id <= static_cast<std::uint32_t>(PropertyText::kThousandsSeparator); ++id) {
    EXPECT_FALSE(EnglishPropertyText(static_cast<PropertyText>(id)).empty()) << id;
  }
}

// Documents the modern rules built say which colours and which text they hold.
TEST(PropertyRows, ModernDocumentsNameTheirColoursAndText) {
  LoadOptions modern;
  modern.modern = true;
  const std::pair<std::string, std::u16string> cases[] = {
      {"\x1b[31mred", u"16 colours"},
      {"\x1b[38;5;100mx", u"256 colours"},
      {"\x1b[38;5;100mx\x1b[48;2;1;2;3my", u"24-bit colours"},
  };
  for (const auto& [bytes, colours] : cases) {
    TextDocument document;
    document.Build(bytes, modern);
    EXPECT_EQ(ValueOf(document, PropertyText::kColours), colours);
    EXPECT_EQ(ValueOf(document, PropertyText::kEncoding), u"-");
    document.Build(bytes, {});
    EXPECT_EQ(ValueOf(document, PropertyText::kColours), u"-");
  }
  TextDocument utf8;
  utf8.Build("\u2500\u2500", modern);
  EXPECT_EQ(ValueOf(utf8, PropertyText::kEncoding), u"UTF-8");
  EXPECT_EQ(ValueOf(utf8, PropertyText::kColours), u"-");
}

}  // namespace
}  // namespace mosaikon
