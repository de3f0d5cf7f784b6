// Reading the metadata record and comment block at the end of an art file,
// and the code page 437 table used to show their texts.
#include "document/sauce.h"

#include "document/code_page_437.h"

namespace mosaikon {

namespace {

constexpr std::string_view kSignature = "SAUCE00";
constexpr std::string_view kCommentSignature = "COMNT";

std::uint16_t Word(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                                                << 8);
}

std::uint32_t DoubleWord(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(Word(bytes, at)) | static_cast<std::uint32_t>(Word(bytes, at + 2)) << 16;
}

// Writers pad with blanks or NULs, and some leave garbage after a NUL.
std::string Field(std::string_view bytes, std::size_t at, std::size_t size) {
  std::string_view field = bytes.substr(at, size);
  field = field.substr(0, field.find('\0'));
  const std::size_t last = field.find_last_not_of(' ');
  return std::string(field.substr(0, last == std::string_view::npos ? 0 : last + 1));
}

}  // namespace

std::optional<SauceRecord> ParseSauce(std::string_view file) {
  if (file.size() < kSauceRecordSize) return std::nullopt;
  const std::size_t recordStart = file.size() - kSauceRecordSize;
  const std::string_view record = file.substr(recordStart);
  if (record.substr(0, kSignature.size()) != kSignature) return std::nullopt;

  SauceRecord sauce;
  sauce.title = Field(record, 7, 35);
  sauce.author = Field(record, 42, 20);
  sauce.group = Field(record, 62, 20);
  sauce.date = Field(record, 82, 8);
  sauce.fileSize = DoubleWord(record, 90);
  sauce.dataType = static_cast<std::uint8_t>(record[94]);
  sauce.fileType = static_cast<std::uint8_t>(record[95]);
  sauce.tInfo1 = Word(record, 96);
  sauce.tInfo2 = Word(record, 98);
  sauce.tInfo3 = Word(record, 100);
  sauce.tInfo4 = Word(record, 102);
  sauce.commentCount = static_cast<std::uint8_t>(record[104]);
  sauce.tFlags = static_cast<std::uint8_t>(record[105]);
  sauce.tInfoS = Field(record, 106, 22);

  const std::size_t blockSize = kCommentSignature.size() + sauce.commentCount * kSauceCommentLineSize;
  if (sauce.commentCount > 0 && blockSize <= recordStart) {
    const std::string_view block = file.substr(recordStart - blockSize, blockSize);
    if (block.substr(0, kCommentSignature.size()) == kCommentSignature) {
      for (std::size_t at = kCommentSignature.size(); at < blockSize; at += kSauceCommentLineSize) {
        sauce.comments.push_back(Field(block, at, kSauceCommentLineSize));
      }
    }
  }
  return sauce;
}

std::size_t TextEndBeforeSauce(std::string_view file, const std::optional<SauceRecord>& sauce) {
  if (!sauce) return file.size();
  std::size_t end = file.size() - kSauceRecordSize;
  if (!sauce->comments.empty()) end -= kCommentSignature.size() + sauce->comments.size() * kSauceCommentLineSize;
  if (end > 0 && file[end - 1] == '\x1A') --end;
  return end;
}

std::u16string DecodeCp437(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (const char c : bytes) text += Cp437Glyph(static_cast<unsigned char>(c));
  return text;
}

}  // namespace mosaikon
