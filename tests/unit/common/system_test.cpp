// The operating-system services: whole-file reads (exact bytes, size,
// failures, the refusal of files of 2 GiB or more, names of any script),
// the ANSI code page's conversions and error texts.
#include "common/system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/utf8.h"

#include "tests/unit/temp_file.h"

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mosaikon {
namespace {

using testing::TempFile;

// Makes the file `size` bytes long without writing them (sparse where the
// file system allows). False when the file system cannot hold such a file.
bool Resize(const std::string& path, std::uint64_t size) {
#ifdef _WIN32
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD unused = 0;
  // Without the sparse flag NTFS would reserve the whole size on disk.
  DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(size);
  const bool sized = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
  CloseHandle(file);
  return sized;
#else
  const int fd = ::open(path.c_str(), O_WRONLY);
  if (fd < 0) return false;
  const bool sized = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
  ::close(fd);
  return sized;
#endif
}

TEST(ReadWholeFile, ReadsEveryByteAsStoredAndFailsOnAFolder) {
  // No text-mode translation: CR LF stays, and Ctrl+Z ends nothing.
  const std::string bytes("a\0\r\n\x1a\xff\xfe\x1b[z", 10);
  TempFile file(bytes);
  std::string buffer = "previous";
  std::uint32_t size = 0;
  ErrorCode error = 0;
  ASSERT_TRUE(ReadWholeFile(file.path(), buffer, &size, nullptr, error));
  EXPECT_EQ(buffer, bytes);
  EXPECT_EQ(size, bytes.size());

  EXPECT_FALSE(ReadWholeFile(std::filesystem::temp_directory_path().string(), buffer, nullptr, nullptr, error));
  EXPECT_NE(error, 0u);
}

// The suites run where the ANSI code page is Windows-1252.
TEST(AnsiCodePage, TextThatFitsConvertsBothWaysAndOtherTextDoesNot) {
  EXPECT_EQ(AnsiToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(Utf8ToAnsi("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
  EXPECT_EQ(Utf8ToAnsi(""), "");
  // Cyrillic, Greek and Japanese; a character the code page would replace by
  // a look-alike (a best fit) does not fit either; nor do bytes that are not UTF-8.
  for (const char* text : {"\xD0\x96", "\xCE\xA9", "\xE6\x97\xA5", "\xC4\x80", "caf\xE9"})
    EXPECT_EQ(Utf8ToAnsi(text), std::nullopt) << text;
}

TEST(ReadWholeFile, ReadsAFileWhoseNameIsOutsideTheAnsiCodePage) {
  const std::u16string name = u"mosaikon_\u041F\u0440\u0438\u043C\u0435\u0440_\u03A9_\u65E5\u672C.txt";
  const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path, std::ios::binary) << "named";
  std::string buffer;
  ErrorCode error = 0;
  EXPECT_TRUE(ReadWholeFile(Utf16ToUtf8(path.u16string()), buffer, nullptr, nullptr, error)) << error;
  EXPECT_EQ(buffer, "named");
  std::filesystem::remove(path);
}

TEST(SystemErrorText, WholeLinesAndNoneForAnUnknownCode) {
  for (const ErrorCode code : {ErrorCode{2}, OutOfMemoryError()}) {
    const std::string text = SystemErrorText(code);
    ASSERT_FALSE(text.empty()) << code;
    EXPECT_EQ(text.back(), '\n') << code;
  }
  EXPECT_EQ(SystemErrorText(0x3FFFFFF0u), "");
}

TEST(ReadWholeFile, FileOfTwoGibibytesOrMoreFailsUnread) {
  // 2 GiB, no document can hold it; and a few bytes past 4 GiB, which a
  // reader that drops the high part of the size would load as those few bytes.
  for (const std::uint64_t size : {std::uint64_t{1} << 31, (std::uint64_t{1} << 32) + 5}) {
    TempFile file;
    if (!Resize(file.path(), size)) GTEST_SKIP() << "no room for a sparse file of " << size << " bytes";
    std::string buffer;
    ErrorCode error = 0;
    EXPECT_FALSE(ReadWholeFile(file.path(), buffer, nullptr, nullptr, error));
    EXPECT_EQ(error, FileTooLargeError());
    EXPECT_LT(buffer.capacity(), 1u << 20);
  }
}

}  // namespace
}  // namespace mosaikon
