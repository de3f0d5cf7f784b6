// docdump: prints what the document core makes of a file, one row per line, so
// that loading can be checked from scripts on both builds.
//   docdump [--tab-size N] [--no-ansi] [--modern [--decode-mode N]] FILE
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "common/system.h"
#include "document/text_document.h"

namespace {

constexpr char kUsage[] = "usage: docdump [--tab-size N] [--no-ansi] [--modern [--decode-mode N]] FILE\n";

void AppendHex(std::string& out, std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  if (bytes.empty()) {
    out += '-';
    return;
  }
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
  }
}

// A cell colour: "p" and the palette index, or "#" and the colour as RRGGBB.
void AppendColour(std::string& out, mosaikon::CellColour colour) {
  char text[16];
  if (mosaikon::IsPaletteIndex(colour)) {
    std::snprintf(text, sizeof text, "p%u", static_cast<unsigned>(colour));
  } else {
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>(colour >> 8 & 0xFF), static_cast<unsigned>(colour >> 16 & 0xFF));
  }
  out += text;
}

// The cell values of a line that has them: an attribute byte as two hex
// digits, a pair as [text/background].
void AppendCells(std::string& out, const mosaikon::TextDocument& document, std::int32_t line) {
  const std::uint32_t* cells = document.colours.Cells(line);
  const std::int32_t length = document.lines[static_cast<std::size_t>(line)].length;
  out += " cells=";
  for (std::int32_t i = 0; i < length; ++i) {
    if (cells[i] < mosaikon::kFirstPairCell) {
      AppendHex(out, std::string(1, static_cast<char>(cells[i])));
      continue;
    }
    const mosaikon::ColourPair& pair = document.colours.Pair(cells[i]);
    out += '[';
    AppendColour(out, pair.text);
    out += '/';
    AppendColour(out, pair.background);
    out += ']';
  }
}

bool ParseTabSize(const char* text, std::int32_t& tabSize) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < 1 || value > 1000000) return false;
  tabSize = static_cast<std::int32_t>(value);
  return true;
}

int Usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  mosaikon::LoadOptions options;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--tab-size") {
      if (++i == argc || !ParseTabSize(argv[i], options.tabSize)) return Usage();
    } else if (argument == "--no-ansi") {
      options.supportAnsi = false;
    } else if (argument == "--modern") {
      options.modern = true;
    } else if (argument == "--decode-mode") {
      if (++i == argc || std::strlen(argv[i]) != 1 || argv[i][0] < '0' || argv[i][0] > '2') return Usage();
      options.decodeMode = argv[i][0] - '0';
    } else if (path == nullptr && !argument.starts_with("--")) {
      path = argv[i];
    } else {
      return Usage();
    }
  }
  if (path == nullptr) return Usage();

  mosaikon::TextDocument document;
  mosaikon::ErrorCode error = 0;
  if (!document.LoadFile(path, options, error)) {
    const std::string text = mosaikon::SystemErrorText(error);
    if (text.empty()) {
      std::fprintf(stderr, "error %lu\n", static_cast<unsigned long>(error));
    } else {
      std::fputs(text.c_str(), stderr);
    }
    return 1;
  }

#ifdef _WIN32
  // The same bytes on both builds: no LF to CR LF translation.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  std::string out = "lines=" + std::to_string(document.LineCount()) + " width=" + std::to_string(document.width) +
                    " ansi=" + (document.ansi ? "1" : "0") + " size=" + std::to_string(document.fileSize);
  // The modern rules' output says so; the classic output stays as it was.
  if (document.modern) out += " modern=1 features=" + std::to_string(document.features);
  out += '\n';
  for (std::int32_t i = 0; i < document.LineCount(); ++i) {
    const mosaikon::TextLine& line = document.lines[static_cast<std::size_t>(i)];
    out += std::to_string(i) + ' ' + std::to_string(line.length) + " text=";
    AppendHex(out, line.Text());
    out += " attr=";
    AppendHex(out, line.Attributes());
    out += " link=";
    const std::string_view mask = line.LinkMask();
    if (mask.empty()) {
      out += '-';
    } else {
      out += mask;
    }
    if (document.colours.Cells(i)) AppendCells(out, document, i);
    out += '\n';
    if (out.size() >= (1u << 16)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
