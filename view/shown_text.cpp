// Turning the selected cells into the characters they show.
#include "view/shown_text.h"

#include "common/code_pages.h"
#include "document/code_page_437.h"

namespace mosaikon {

namespace {

class ShownTextSink final : public SelectedText::PieceSink {
 public:
  explicit ShownTextSink(const ColumnRules& rules) : rules_(rules) {}

  void Cells(std::string_view bytes) override {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      if (rules_.decodeMode > 0 && byte >= 0x80) {
        // A pair, as the view pairs it; runs of pairs convert at once.
        pairs_.append(bytes.substr(i, 2));
        ++i;
        continue;
      }
      Flush();
      text_ += byte == '\t' && !rules_.tabCells ? u'\t' : Cp437Glyph(byte);
    }
  }
  void Blanks(std::int64_t count) override {
    Flush();
    text_.append(static_cast<std::size_t>(count), u' ');
  }
  void Break(std::string_view bytes) override {
    Flush();
    for (const char byte : bytes) text_ += static_cast<char16_t>(static_cast<unsigned char>(byte));
  }

  std::u16string Take() {
    Flush();
    return std::move(text_);
  }

 private:
  void Flush() {
    if (pairs_.empty()) return;
    text_ += CodePageToWide(rules_.decodeMode == 2 ? kCodePageBig5 : kCodePageGb2312, pairs_);
    pairs_.clear();
  }

  const ColumnRules& rules_;
  std::u16string text_;
  std::string pairs_;
};

}  // namespace

std::u16string ShownText(const SelectedText& text, const ColumnRules& rules) {
  ShownTextSink sink(rules);
  text.Pieces(sink);
  return sink.Take();
}

}  // namespace mosaikon
