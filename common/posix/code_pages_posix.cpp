// The Chinese code pages through iconv, for the native build.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "common/code_pages.h"

namespace mosaikon {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; where a piece cannot be converted, `unknown` is
  // appended in its place and `skip` bytes of the input are passed over.
  std::string Run(std::string_view in, std::string_view unknown, std::size_t skip) {
    std::string out;
    if (!ok()) return out;
    char* from = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buffer[4096];
    while (left > 0) {
      char* to = buffer;
      std::size_t room = sizeof buffer;
      const std::size_t result = iconv(handle_, &from, &left, &to, &room);
      out.append(buffer, static_cast<std::size_t>(to - buffer));
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
        out.append(unknown);
        const std::size_t step = left < skip ? left : skip;
        from += step;
        left -= step;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

 private:
  iconv_t handle_;
};

const char* IconvName(std::uint32_t codePage) {
  return codePage == kCodePageBig5 ? "CP950" : "CP936";
}

}  // namespace

std::string WideToCodePage(std::uint32_t codePage, std::u16string_view units) {
  Converter converter(IconvName(codePage), "UTF-16LE");
  std::string in;
  in.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    in.push_back(static_cast<char>(unit & 0xFF));
    in.push_back(static_cast<char>(unit >> 8));
  }
  return converter.Run(in, "?", 2);
}

std::u16string CodePageToWide(std::uint32_t codePage, std::string_view bytes) {
  Converter converter("UTF-16LE", IconvName(codePage));
  const std::string out = converter.Run(bytes, std::string("?\0", 2), 1);
  std::u16string wide(out.size() / 2, u'\0');
  for (std::size_t i = 0; i < wide.size(); ++i) {
    wide[i] =
        static_cast<char16_t>(static_cast<unsigned char>(out[2 * i]) | static_cast<unsigned char>(out[2 * i + 1]) << 8);
  }
  return wide;
}

}  // namespace mosaikon
