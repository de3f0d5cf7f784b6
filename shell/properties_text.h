// The rows of the Properties dialog: what the file is (path, size, time, kind,
// lines, width) and what its metadata record says about the art (title,
// author, group, date, type, size hints, flags, font, comments). Every word
// comes from one table of ids and English texts, which a language pack's
// string table can replace; values are UTF-16 so that the record's code page
// 437 texts keep their block and box characters on any system code page.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/text_document.h"

namespace mosaikon {

// The texts of the dialog, numbered as string table entries.
enum class PropertyText : std::uint32_t {
  kPath = 6100,
  kSize,
  kModified,
  kKind,
  kLines,
  kWidth,
  kTitle,
  kAuthor,
  kGroup,
  kDate,
  kDataType,
  kFileType,
  kWidthHint,
  kHeightHint,
  kIceColours,
  kLetterSpacing,
  kAspectRatio,
  kFontName,
  kComments,
  kAnsiArt,  // values from here on
  kPlainText,
  kYes,
  kNo,
  kBytes,    // "%1 bytes"
  kColumns,  // "%1 columns"
  kRows,     // "%1 lines"
  kPixels,   // "%1 pixels"
  kNotGiven,
  kInvalid,
  kUnknownType,  // "Unknown (%1)"
  kEightPixelLetters,
  kNinePixelLetters,
  kStretchedPixels,
  kSquarePixels,
  kThousandsSeparator,
};

// The English text of an id.
std::u16string EnglishPropertyText(PropertyText id);

using PropertyTexts = std::function<std::u16string(PropertyText)>;

struct PropertyRow {
  PropertyText label;
  std::u16string labelText;  // empty on the second and later comment lines
  std::u16string value;
};

// The rows for `document`, loaded from `path` (already in UTF-16: the caller
// converts it). The record's rows come only when the file has one, and its
// type-specific rows only where its type defines them.
std::vector<PropertyRow> PropertyRows(const TextDocument& document, std::u16string_view path,
                                      const PropertyTexts& texts = EnglishPropertyText);

// "1,234,567" with the given separator between groups of three digits.
std::u16string GroupedNumber(std::uint64_t value, std::u16string_view separator);

// The name of a record's data type, and of its file type within that data
// type; empty when the format has no name for it.
std::u16string SauceDataTypeName(std::uint8_t dataType);
std::u16string SauceFileTypeName(std::uint8_t dataType, std::uint8_t fileType);

}  // namespace mosaikon
