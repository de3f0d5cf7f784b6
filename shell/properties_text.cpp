// Label and value rows of the Properties dialog, and the English texts they
// are made of.
#include "shell/properties_text.h"

#include <array>
#include <utility>

#include "common/string_util.h"
#include "document/modern_features.h"
#include "shell/status_texts.h"

namespace mosaikon {

namespace {

constexpr std::array<std::pair<PropertyText, const char16_t*>, 41> kEnglish = {{
    {PropertyText::kPath, u"Path"},
    {PropertyText::kSize, u"Size"},
    {PropertyText::kModified, u"Modified"},
    {PropertyText::kKind, u"Kind"},
    {PropertyText::kLines, u"Lines"},
    {PropertyText::kWidth, u"Width"},
    {PropertyText::kTitle, u"Title"},
    {PropertyText::kAuthor, u"Author"},
    {PropertyText::kGroup, u"Group"},
    {PropertyText::kDate, u"Date"},
    {PropertyText::kDataType, u"Data type"},
    {PropertyText::kFileType, u"File type"},
    {PropertyText::kWidthHint, u"Art width"},
    {PropertyText::kHeightHint, u"Art height"},
    {PropertyText::kIceColours, u"iCE colours"},
    {PropertyText::kLetterSpacing, u"Letter spacing"},
    {PropertyText::kAspectRatio, u"Aspect ratio"},
    {PropertyText::kFontName, u"Font"},
    {PropertyText::kComments, u"Comments"},
    {PropertyText::kAnsiArt, u"ANSI art"},
    {PropertyText::kPlainText, u"Plain text"},
    {PropertyText::kYes, u"Yes"},
    {PropertyText::kNo, u"No"},
    {PropertyText::kBytes, u"%1 bytes"},
    {PropertyText::kColumns, u"%1 columns"},
    {PropertyText::kRows, u"%1 lines"},
    {PropertyText::kPixels, u"%1 pixels"},
    {PropertyText::kNotGiven, u"Not given"},
    {PropertyText::kInvalid, u"Invalid"},
    {PropertyText::kUnknownType, u"Unknown (%1)"},
    {PropertyText::kEightPixelLetters, u"8 pixels"},
    {PropertyText::kNinePixelLetters, u"9 pixels"},
    {PropertyText::kStretchedPixels, u"Stretched (legacy)"},
    {PropertyText::kSquarePixels, u"Square pixels"},
    {PropertyText::kThousandsSeparator, u","},
    {PropertyText::kColours, u"Colours"},
    {PropertyText::kEncoding, u"Encoding"},
    {PropertyText::kSixteenColours, u"16 colours"},
    {PropertyText::kTable256Colours, u"256 colours"},
    {PropertyText::kTrueColours, u"24-bit colours"},
    {PropertyText::kUtf8, u"UTF-8"},
}};

// The record's data types and the names of their file types, as the format
// defines them.
constexpr std::array<const char16_t*, 9> kDataTypes = {u"None",        u"Character", u"Bitmap",  u"Vector",    u"Audio",
                                                       u"Binary text", u"XBin",      u"Archive", u"Executable"};
constexpr std::array<const char16_t*, 9> kCharacterTypes = {
    u"ASCII", u"ANSi", u"ANSiMation", u"RIP script", u"PCBoard", u"Avatar", u"HTML", u"Source", u"TundraDraw"};
constexpr std::array<const char16_t*, 14> kBitmapTypes = {u"GIF", u"PCX", u"LBM/IFF", u"TGA", u"FLI", u"FLC", u"BMP",
                                                          u"GL",  u"DL",  u"WPG",     u"PNG", u"JPG", u"MPG", u"AVI"};
constexpr std::array<const char16_t*, 4> kVectorTypes = {u"DXF", u"DWG", u"WPG", u"3DS"};
constexpr std::array<const char16_t*, 25> kAudioTypes = {
    u"MOD",   u"669",    u"STM",    u"S3M",     u"MTM",  u"FAR", u"ULT", u"AMF",  u"DMF",
    u"OKT",   u"ROL",    u"CMF",    u"MID",     u"SADT", u"VOC", u"WAV", u"SMP8", u"SMP8S",
    u"SMP16", u"SMP16S", u"PATCH8", u"PATCH16", u"XM",   u"HSC", u"IT"};
constexpr std::array<const char16_t*, 10> kArchiveTypes = {u"ZIP", u"ARJ", u"LZH", u"ARC", u"TAR",
                                                           u"ZOO", u"RAR", u"UC2", u"PAK", u"SQZ"};

enum : std::uint8_t { kCharacter = 1, kBitmap = 2, kVector = 3, kAudio = 4, kBinaryText = 5, kXBin = 6, kArchive = 7 };
enum : std::uint8_t { kAscii = 0, kAnsi = 1, kAnsiMation = 2, kRip = 3, kHtml = 6, kSource = 7 };

template <std::size_t N>
std::u16string NameAt(const std::array<const char16_t*, N>& names, std::size_t index) {
  return index < N ? names[index] : u"";
}

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

// "CCYYMMDD" as YYYY-MM-DD when it is a date of the calendar; the field as
// it stands otherwise.
std::u16string DateText(const std::string& date) {
  bool digits = date.size() == 8;
  for (const char c : date) digits = digits && c >= '0' && c <= '9';
  if (digits) {
    const int year = std::stoi(date.substr(0, 4));
    const int month = std::stoi(date.substr(4, 2));
    const int day = std::stoi(date.substr(6, 2));
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month >= 1 && month <= 12 && day >= 1 && day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0)) {
      return Widen(date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2));
    }
  }
  return DecodeCp437(date);
}

class RowWriter {
 public:
  RowWriter(const PropertyTexts& texts, std::vector<PropertyRow>& rows) : texts_(texts), rows_(rows) {}

  std::u16string Text(PropertyText id) const { return texts_(id); }
  std::u16string Number(std::uint64_t value) const {
    return GroupedNumber(value, texts_(PropertyText::kThousandsSeparator));
  }
  std::u16string Count(PropertyText unit, std::uint64_t value) const {
    return FillInserts(Text(unit), {Number(value)});
  }
  std::u16string YesNo(bool yes) const { return Text(yes ? PropertyText::kYes : PropertyText::kNo); }

  void Add(PropertyText label, std::u16string value, bool labelled = true) {
    rows_.push_back({label, labelled ? Text(label) : std::u16string(), std::move(value)});
  }

 private:
  const PropertyTexts& texts_;
  std::vector<PropertyRow>& rows_;
};

// The size the art says it has, where its type defines one: character cells
// or pixels.
void AddSizeHints(const SauceRecord& sauce, RowWriter& out) {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  PropertyText unit = PropertyText::kColumns;
  switch (sauce.dataType) {
    case kCharacter:
      if (sauce.fileType == kHtml || sauce.fileType == kSource) return;
      if (sauce.fileType == kRip) unit = PropertyText::kPixels;
      width = sauce.tInfo1;
      height = sauce.tInfo2;
      break;
    case kBitmap:
      unit = PropertyText::kPixels;
      width = sauce.tInfo1;
      height = sauce.tInfo2;
      break;
    case kBinaryText:  // the file type holds half the width
      width = 2u * sauce.fileType;
      break;
    case kXBin:
      width = sauce.tInfo1;
      height = sauce.tInfo2;
      break;
    default:
      return;
  }
  if (width > 0) out.Add(PropertyText::kWidthHint, out.Count(unit, width));
  if (height > 0)
    out.Add(PropertyText::kHeightHint, out.Count(unit == PropertyText::kPixels ? unit : PropertyText::kRows, height));
}

// Flags and font belong to text-mode art: ASCII, ANSi, ANSiMation and binary text.
void AddTextModeRows(const SauceRecord& sauce, RowWriter& out) {
  const bool textMode =
      (sauce.dataType == kCharacter && sauce.fileType <= kAnsiMation) || sauce.dataType == kBinaryText;
  if (!textMode) return;
  out.Add(PropertyText::kIceColours, out.YesNo(sauce.IceColours()));
  constexpr std::array<PropertyText, 4> kSpacing = {PropertyText::kNotGiven, PropertyText::kEightPixelLetters,
                                                    PropertyText::kNinePixelLetters, PropertyText::kInvalid};
  out.Add(PropertyText::kLetterSpacing, out.Text(kSpacing[static_cast<std::size_t>(sauce.LetterSpacing())]));
  constexpr std::array<PropertyText, 4> kAspect = {PropertyText::kNotGiven, PropertyText::kStretchedPixels,
                                                   PropertyText::kSquarePixels, PropertyText::kInvalid};
  out.Add(PropertyText::kAspectRatio, out.Text(kAspect[static_cast<std::size_t>(sauce.AspectRatio())]));
  if (!sauce.tInfoS.empty()) out.Add(PropertyText::kFontName, DecodeCp437(sauce.tInfoS));
}

void AddSauceRows(const SauceRecord& sauce, RowWriter& out) {
  out.Add(PropertyText::kTitle, DecodeCp437(sauce.title));
  out.Add(PropertyText::kAuthor, DecodeCp437(sauce.author));
  out.Add(PropertyText::kGroup, DecodeCp437(sauce.group));
  out.Add(PropertyText::kDate, DateText(sauce.date));
  const std::u16string dataType = SauceDataTypeName(sauce.dataType);
  out.Add(PropertyText::kDataType, dataType.empty()
                                       ? FillInserts(out.Text(PropertyText::kUnknownType), {out.Number(sauce.dataType)})
                                       : dataType);
  // Binary text keeps its width in the file type; the other types without
  // named file types leave it 0.
  const std::u16string fileType = SauceFileTypeName(sauce.dataType, sauce.fileType);
  if (!fileType.empty()) {
    out.Add(PropertyText::kFileType, fileType);
  } else if (sauce.dataType != kBinaryText && sauce.fileType != 0) {
    out.Add(PropertyText::kFileType, FillInserts(out.Text(PropertyText::kUnknownType), {out.Number(sauce.fileType)}));
  }
  AddSizeHints(sauce, out);
  AddTextModeRows(sauce, out);
  for (std::size_t i = 0; i < sauce.comments.size(); ++i) {
    out.Add(PropertyText::kComments, DecodeCp437(sauce.comments[i]), i == 0);
  }
}

}  // namespace

std::u16string EnglishPropertyText(PropertyText id) {
  for (const auto& [key, text] : kEnglish) {
    if (key == id) return text;
  }
  return {};
}

std::u16string GroupedNumber(std::uint64_t value, std::u16string_view separator) {
  const std::string digits = std::to_string(value);
  std::u16string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += separator;
    text += static_cast<char16_t>(digits[i]);
  }
  return text;
}

std::u16string SauceDataTypeName(std::uint8_t dataType) {
  return NameAt(kDataTypes, dataType);
}

std::u16string SauceFileTypeName(std::uint8_t dataType, std::uint8_t fileType) {
  switch (dataType) {
    case kCharacter:
      return NameAt(kCharacterTypes, fileType);
    case kBitmap:
      return NameAt(kBitmapTypes, fileType);
    case kVector:
      return NameAt(kVectorTypes, fileType);
    case kAudio:
      return NameAt(kAudioTypes, fileType);
    case kArchive:
      return NameAt(kArchiveTypes, fileType);
    default:
      return {};
  }
}

std::vector<PropertyRow> PropertyRows(const TextDocument& document, std::u16string_view path,
                                      const PropertyTexts& texts) {
  std::vector<PropertyRow> rows;
  RowWriter out(texts, rows);
  out.Add(PropertyText::kPath, std::u16string(path));
  out.Add(PropertyText::kSize, out.Count(PropertyText::kBytes, document.fileSize));
  out.Add(PropertyText::kModified, Widen(FileTimeText(document.fileTime)));
  out.Add(PropertyText::kKind, out.Text(document.ansi ? PropertyText::kAnsiArt : PropertyText::kPlainText));
  out.Add(PropertyText::kLines, out.Number(static_cast<std::uint64_t>(document.LineCount())));
  out.Add(PropertyText::kWidth, out.Count(PropertyText::kColumns, static_cast<std::uint64_t>(document.width)));
  if (document.modern && document.ansi) {
    PropertyText colours = PropertyText::kSixteenColours;
    if (document.features & kTable256Colours) colours = PropertyText::kTable256Colours;
    if (document.features & kTrueColours) colours = PropertyText::kTrueColours;
    out.Add(PropertyText::kColours, out.Text(colours));
  }
  if (document.modern && (document.features & kUtf8Text))
    out.Add(PropertyText::kEncoding, out.Text(PropertyText::kUtf8));
  if (document.sauce) AddSauceRows(*document.sauce, out);
  return rows;
}

}  // namespace mosaikon
