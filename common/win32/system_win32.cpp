// The operating-system services of the core on Windows: whole-file reading
// with CreateFileW/ReadFile, FormatMessageA texts, conversions with the ANSI
// code page and IsDBCSLeadByte.
#include <windows.h>

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

#include "common/system.h"
#include "common/utf8.h"
#include "common/win32/handles.h"

namespace mosaikon {

namespace {

bool LastWriteTime(HANDLE file, FileTime& time) {
  FILETIME written{};
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  TIME_ZONE_INFORMATION zone{};
  if (!GetFileTime(file, nullptr, nullptr, &written) || !FileTimeToSystemTime(&written, &utc)) return false;
  GetTimeZoneInformation(&zone);
  if (!SystemTimeToTzSpecificLocalTime(&zone, &utc, &local)) return false;
  time.year = local.wYear;
  time.month = local.wMonth;
  time.dayOfWeek = local.wDayOfWeek;
  time.day = local.wDay;
  time.hour = local.wHour;
  time.minute = local.wMinute;
  time.second = local.wSecond;
  time.milliseconds = local.wMilliseconds;
  return true;
}

}  // namespace

ErrorCode FileTooLargeError() {
  return ERROR_FILE_TOO_LARGE;
}
ErrorCode OutOfMemoryError() {
  return ERROR_NOT_ENOUGH_MEMORY;
}
ErrorCode FileNameTooLongError() {
  return ERROR_FILENAME_EXCED_RANGE;
}

bool ReadWholeFile(const std::string& path, std::string& buffer, std::uint32_t* size, FileTime* time,
                   ErrorCode& error) {
  const std::u16string wide = Utf8ToUtf16(path);
  FileHandle file(CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    error = GetLastError();
    return false;
  }
  // The high part is asked for so that a file of 4 GiB or more fails instead
  // of loading its first (size modulo 4 GiB) bytes.
  DWORD high = 0;
  const DWORD low = GetFileSize(file.get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    error = GetLastError();
    return false;
  }
  if (high != 0 || low > kMaxFileSize) {
    error = FileTooLargeError();
    return false;
  }
  try {
    buffer.resize(low);
  } catch (const std::bad_alloc&) {
    error = OutOfMemoryError();
    return false;
  } catch (const std::length_error&) {
    error = OutOfMemoryError();
    return false;
  }
  if (low > 0) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.data(), low, &read, nullptr)) {
      error = GetLastError();
      return false;
    }
    if (read != low) {
      // The file shrank while it was read; ReadFile itself reported success.
      error = ERROR_HANDLE_EOF;
      return false;
    }
  }
  if (time && !LastWriteTime(file.get(), *time)) {
    error = GetLastError();
    return false;
  }
  if (size) *size = low;
  return true;
}

std::string SystemErrorText(ErrorCode code) {
  // FORMAT_MESSAGE_IGNORE_INSERTS: some system texts hold %1-style inserts,
  // and formatting them without arguments reads arguments that do not exist.
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT), reinterpret_cast<LPSTR>(&text), 0, nullptr);
  const LocalMemory owner(text);
  if (length == 0 || text == nullptr) return {};
  return std::string(text, length);
}

std::string WideToNarrow(const char16_t* units, std::size_t count) {
  // WideCharToMultiByte counts in int, so very long input goes in pieces that
  // never split a surrogate pair.
  constexpr std::size_t kPiece = 1u << 28;
  std::string narrow;
  const auto* wide = reinterpret_cast<const wchar_t*>(units);
  while (count > 0) {
    std::size_t piece = std::min(count, kPiece);
    if (piece < count && wide[piece - 1] >= 0xD800 && wide[piece - 1] <= 0xDBFF) --piece;
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(piece), nullptr, 0, nullptr, nullptr);
    if (needed > 0) {
      const std::size_t at = narrow.size();
      narrow.resize(at + static_cast<std::size_t>(needed));
      const int written =
          WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(piece), narrow.data() + at, needed, nullptr, nullptr);
      narrow.resize(at + static_cast<std::size_t>(std::max(written, 0)));
    }
    wide += piece;
    count -= piece;
  }
  return narrow;
}

std::string AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  if (length <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), reinterpret_cast<wchar_t*>(wide.data()),
                      length);
  return Utf16ToUtf8(wide);
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  if (!IsUtf8(utf8)) return std::nullopt;
  const std::u16string wide = Utf8ToUtf16(utf8);
  const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
  const int count = static_cast<int>(wide.size());
  BOOL defaulted = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, nullptr, 0, nullptr, &defaulted);
  if (length <= 0 || defaulted) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, ansi.data(), length, nullptr, &defaulted);
  // Some code pages map several characters onto one byte sequence without
  // calling it a default; only a text that reads back as itself will do.
  if (defaulted || AnsiToUtf8(ansi) != utf8) return std::nullopt;
  return ansi;
}

// Large pages need a privilege that ordinary users lack, so this is a no-op.
void AdviseLargePages(void*, std::size_t) {}

bool IsLeadByte(unsigned char byte) {
  return IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace mosaikon
