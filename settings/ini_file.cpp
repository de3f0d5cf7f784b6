// The portable INI file: parses the whole file into lines on every call,
// looks sections and keys up without regard to ASCII case, and writes changes
// through a temporary file that replaces the original.
#include "settings/ini_file.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "common/string_util.h"

namespace mosaikon {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

enum class LineKind { kBlank, kComment, kSection, kKey, kOther };

struct Line {
  std::string text;    // without its line ending
  std::string ending;  // "\r\n", "\n" or "" (last line without one)
  LineKind kind = LineKind::kBlank;
  std::string name;   // section or key name, trimmed
  std::string value;  // key value, trimmed
};

struct Document {
  std::string mark;  // a UTF-8 byte-order mark, kept but not parsed
  std::vector<Line> lines;
};

enum class LoadResult { kRead, kMissing, kFailed };

std::string Trimmed(std::string_view text) {
  std::string result(text);
  Trim(result);
  return result;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void Classify(Line& line) {
  std::string body = Trimmed(line.text);
  line.name.clear();
  line.value.clear();
  if (body.empty()) {
    line.kind = LineKind::kBlank;
  } else if (body[0] == ';') {
    line.kind = LineKind::kComment;
  } else if (body[0] == '[') {
    line.kind = LineKind::kSection;
    const std::size_t close = body.find(']');
    line.name = Trimmed(std::string_view(body).substr(1, close == std::string::npos ? std::string::npos : close - 1));
  } else if (const std::size_t equals = body.find('='); equals != std::string::npos) {
    line.kind = LineKind::kKey;
    line.name = Trimmed(std::string_view(body).substr(0, equals));
    line.value = Trimmed(std::string_view(body).substr(equals + 1));
  } else {
    line.kind = LineKind::kOther;
  }
}

Line MakeLine(std::string text, std::string ending) {
  Line line;
  line.text = std::move(text);
  line.ending = std::move(ending);
  Classify(line);
  return line;
}

LoadResult Load(const std::string& path, Document& document) {
  document = {};
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (status.type() == std::filesystem::file_type::not_found) return LoadResult::kMissing;
  if (error || status.type() != std::filesystem::file_type::regular) return LoadResult::kFailed;

  std::ifstream in(path, std::ios::binary);
  if (!in) return LoadResult::kFailed;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return LoadResult::kFailed;

  std::string_view rest(content);
  if (rest.starts_with(kUtf8Mark)) {
    document.mark = kUtf8Mark;
    rest.remove_prefix(kUtf8Mark.size());
  }
  while (!rest.empty()) {
    const std::size_t newline = rest.find('\n');
    std::string_view text = rest.substr(0, newline);
    std::string_view ending;
    if (newline == std::string_view::npos) {
      rest = {};
    } else {
      rest.remove_prefix(newline + 1);
      ending = "\n";
      if (text.ends_with('\r')) {
        text.remove_suffix(1);
        ending = kLineEnd;
      }
    }
    document.lines.push_back(MakeLine(std::string(text), std::string(ending)));
  }
  return LoadResult::kRead;
}

// A name for the temporary file beside `path` that no other writer picks.
std::string TemporaryPathFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  return path + ".tmp" + std::to_string(random()) + "-" + std::to_string(counter++);
}

bool Store(const std::string& path, const Document& document) {
  std::string content = document.mark;
  for (const Line& line : document.lines) {
    content += line.text;
    content += line.ending;
  }

  const std::string temporary = TemporaryPathFor(path);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code error;
  // The replacement keeps the access rights of the file it replaces.
  const auto original = std::filesystem::status(path, error);
  if (!error && std::filesystem::exists(original)) {
    std::filesystem::permissions(temporary, original.permissions(), error);
  }
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  }
  return true;
}

// Index of the first header of `section`, or lines.size() when there is none.
std::size_t FindSection(const Document& document, std::string_view section) {
  for (std::size_t i = 0; i < document.lines.size(); ++i) {
    const Line& line = document.lines[i];
    if (line.kind == LineKind::kSection && EqualNoCase(line.name, section)) return i;
  }
  return document.lines.size();
}

// Index of the line after the section's last line (the next header or the end).
std::size_t SectionEnd(const Document& document, std::size_t header) {
  std::size_t i = header + 1;
  while (i < document.lines.size() && document.lines[i].kind != LineKind::kSection) ++i;
  return i;
}

// The first line of the section holding `key`, or nullptr.
const Line* FindKey(const Document& document, std::string_view section, std::string_view key) {
  const std::size_t header = FindSection(document, section);
  if (header == document.lines.size()) return nullptr;
  const std::size_t end = SectionEnd(document, header);
  for (std::size_t i = header + 1; i < end; ++i) {
    const Line& line = document.lines[i];
    if (line.kind == LineKind::kKey && EqualNoCase(line.name, key)) return &document.lines[i];
  }
  return nullptr;
}

// A value as the profile functions hand it out: one pair of matching single
// or double quotes around the whole value is removed.
std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Inserts `line` at `index`, giving the line before it an ending if it was the
// file's unterminated last line.
void InsertLine(Document& document, std::size_t index, Line line) {
  if (index > 0 && document.lines[index - 1].ending.empty()) document.lines[index - 1].ending = kLineEnd;
  document.lines.insert(document.lines.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

}  // namespace

std::int32_t LeadingInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsWhiteSpace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;  // unsigned, so overlong numbers wrap instead of overflowing
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t IniFile::GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
  Document document;
  if (Load(path_, document) != LoadResult::kRead) return defaultValue;
  const Line* line = FindKey(document, Trimmed(section), Trimmed(key));
  if (line == nullptr) return defaultValue;
  return LeadingInteger(Unquoted(line->value));
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                               std::size_t bufferSize) const {
  if (bufferSize == 0) return {};
  std::string_view value = defaultValue;
  Document document;
  const Line* line = nullptr;
  if (Load(path_, document) == LoadResult::kRead) line = FindKey(document, Trimmed(section), Trimmed(key));
  if (line != nullptr) value = Unquoted(line->value);
  return std::string(value.substr(0, bufferSize - 1));
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string sectionName = Trimmed(section);
  const std::string keyName = Trimmed(key);
  const std::string text = Trimmed(value);
  if (sectionName.empty() || keyName.empty()) return false;
  if (HasLineBreak(sectionName) || HasLineBreak(keyName) || HasLineBreak(text)) return false;
  if (sectionName.find(']') != std::string::npos) return false;
  if (keyName.find('=') != std::string::npos || keyName[0] == '[' || keyName[0] == ';') return false;

  Document document;
  // A file that exists but cannot be read is never replaced by a new one.
  if (Load(path_, document) == LoadResult::kFailed) return false;

  std::size_t header = FindSection(document, sectionName);
  if (header == document.lines.size()) {
    InsertLine(document, header, MakeLine("[" + sectionName + "]", std::string(kLineEnd)));
    InsertLine(document, header + 1, MakeLine(keyName + "=" + text, std::string(kLineEnd)));
    return Store(path_, document);
  }

  const std::size_t end = SectionEnd(document, header);
  std::size_t insertAt = header + 1;  // after the last key line, or after the header
  for (std::size_t i = header + 1; i < end; ++i) {
    Line& line = document.lines[i];
    if (line.kind != LineKind::kKey) continue;
    if (EqualNoCase(line.name, keyName)) {
      if (line.value == text) return true;  // unchanged: leave the file alone
      // The key keeps its spelling and its line ending.
      line = MakeLine(line.name + "=" + text, line.ending);
      return Store(path_, document);
    }
    insertAt = i + 1;
  }
  InsertLine(document, insertAt, MakeLine(keyName + "=" + text, std::string(kLineEnd)));
  return Store(path_, document);
}

bool IniFile::ClearSection(std::string_view section) {
  Document document;
  switch (Load(path_, document)) {
    case LoadResult::kFailed:
      return false;
    case LoadResult::kMissing:
      return true;
    case LoadResult::kRead:
      break;
  }
  const std::size_t header = FindSection(document, Trimmed(section));
  if (header == document.lines.size()) return true;
  const std::size_t end = SectionEnd(document, header);
  const auto first = document.lines.begin() + static_cast<std::ptrdiff_t>(header + 1);
  const auto last = document.lines.begin() + static_cast<std::ptrdiff_t>(end);
  const auto kept = std::remove_if(first, last, [](const Line& line) { return line.kind == LineKind::kKey; });
  if (kept == last) return true;
  document.lines.erase(kept, last);
  return Store(path_, document);
}

}  // namespace mosaikon
