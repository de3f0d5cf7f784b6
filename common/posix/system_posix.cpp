// The operating-system services of the core for the native (POSIX) build:
// whole-file reading with open/fstat/read, strerror texts, and a Windows-1252
// "ANSI code page" for UTF-16 conversion, which has no lead bytes.
#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <new>
#include <stdexcept>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/system.h"
#include "common/utf8.h"

namespace mosaikon {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

FileTime LocalFileTime(const struct stat& status) {
  FileTime time;
  std::tm fields{};
  if (::localtime_r(&status.st_mtim.tv_sec, &fields) == nullptr) return time;
  time.year = static_cast<std::uint16_t>(fields.tm_year + 1900);
  time.month = static_cast<std::uint16_t>(fields.tm_mon + 1);
  time.dayOfWeek = static_cast<std::uint16_t>(fields.tm_wday);  // 0 is Sunday, as in SYSTEMTIME
  time.day = static_cast<std::uint16_t>(fields.tm_mday);
  time.hour = static_cast<std::uint16_t>(fields.tm_hour);
  time.minute = static_cast<std::uint16_t>(fields.tm_min);
  time.second = static_cast<std::uint16_t>(fields.tm_sec);
  time.milliseconds = static_cast<std::uint16_t>(status.st_mtim.tv_nsec / 1000000);
  return time;
}

// Windows-1252 bytes 0x80-0x9F hold these characters (0 where the code page
// has none; Windows maps those five bytes to the C1 controls of the same value).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char NarrowUnit(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

ErrorCode FileTooLargeError() {
  return EFBIG;
}
ErrorCode OutOfMemoryError() {
  return ENOMEM;
}
ErrorCode FileNameTooLongError() {
  return ENAMETOOLONG;
}

bool ReadWholeFile(const std::string& path, std::string& buffer, std::uint32_t* size, FileTime* time,
                   ErrorCode& error) {
  // O_NONBLOCK so that naming a FIFO cannot hang the load at open().
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) {
    error = static_cast<ErrorCode>(errno);
    return false;
  }
  if (S_ISDIR(status.st_mode)) {
    error = EISDIR;
    return false;
  }
  if (status.st_size < 0 || static_cast<std::uint64_t>(status.st_size) > kMaxFileSize) {
    error = FileTooLargeError();
    return false;
  }
  const auto fileSize = static_cast<std::size_t>(status.st_size);
  try {
    std::string().swap(buffer);
    buffer.reserve(fileSize);
    AdviseLargePages(buffer.data(), fileSize);
    buffer.resize(fileSize);
  } catch (const std::bad_alloc&) {
    error = OutOfMemoryError();
    return false;
  } catch (const std::length_error&) {
    error = OutOfMemoryError();
    return false;
  }
  std::size_t done = 0;
  while (done < fileSize) {
    const ssize_t got = ::read(file.get(), buffer.data() + done, fileSize - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      error = static_cast<ErrorCode>(errno);
      return false;
    }
    if (got == 0) {
      // The file shrank while it was read: report it rather than a short text.
      error = EIO;
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  if (size) *size = static_cast<std::uint32_t>(fileSize);
  if (time) *time = LocalFileTime(status);
  return true;
}

std::string SystemErrorText(ErrorCode code) {
  // strerrordesc_np has no text for unknown codes (strerror would invent one).
  const char* text = code <= static_cast<ErrorCode>(std::numeric_limits<int>::max())
                         ? ::strerrordesc_np(static_cast<int>(code))
                         : nullptr;
  if (text == nullptr) return {};
  // The system's texts end with a line break, as on Windows; here it is "\n".
  return std::string(text) + "\n";
}

// The native build's ANSI code page is Windows-1252: characters it has become
// their byte (the 0x80-0x9F specials included), any other code unit or
// surrogate pair becomes one '?', Windows' default character. There is no
// best-fit mapping here.
std::string WideToNarrow(const char16_t* units, std::size_t count) {
  std::string narrow;
  narrow.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t unit = units[i];
    const bool pair =
        unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
    if (pair) ++i;
    narrow.push_back(pair ? '?' : NarrowUnit(unit));
  }
  return narrow;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::u16string wide;
  wide.reserve(ansi.size());
  for (const char byte : ansi) {
    const auto value = static_cast<unsigned char>(byte);
    wide.push_back(value >= 0x80 && value < 0xA0 ? kCp1252High[value - 0x80] : value);
  }
  return Utf16ToUtf8(wide);
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8) {
  if (!IsUtf8(utf8)) return std::nullopt;
  const std::u16string wide = Utf8ToUtf16(utf8);
  std::string ansi = WideToNarrow(wide.data(), wide.size());
  if (AnsiToUtf8(ansi) != utf8) return std::nullopt;
  return ansi;
}

void AdviseLargePages(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
  // Only whole 2 MiB stretches inside the buffer can become huge pages; small
  // buffers are left alone. madvise fails harmlessly where there are none.
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (size < 2 * kHugePage) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

bool IsLeadByte(unsigned char) {
  return false;
}

}  // namespace mosaikon
