// The operating-system services: whole-file reads (exact bytes, size, time,
// failures), error texts, UTF-16 conversion and lead bytes.
#include "common/system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/unit/document/temp_file.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#endif

namespace mosaikon {
namespace {

using testing::TempFile;

TEST(ReadWholeFile, ReadsEveryByteAsStored) {
  const std::string bytes("a\0\r\n\xff\xfe\x1b[z", 9);
  TempFile file(bytes);
  std::string buffer = "previous";
  std::uint32_t size = 1234;
  FileTime time;
  ErrorCode error = 0;
  ASSERT_TRUE(ReadWholeFile(file.path(), buffer, &size, &time, error));
  EXPECT_EQ(buffer, bytes);
  EXPECT_EQ(size, 9u);
  EXPECT_GE(time.year, 2020);
  EXPECT_LE(time.dayOfWeek, 6);
  EXPECT_LE(time.milliseconds, 999);
}

TEST(ReadWholeFile, EmptyFileGivesEmptyBuffer) {
  TempFile file;
  std::string buffer = "previous";
  std::uint32_t size = 1;
  ErrorCode error = 0;
  ASSERT_TRUE(ReadWholeFile(file.path(), buffer, &size, nullptr, error));
  EXPECT_TRUE(buffer.empty());
  EXPECT_EQ(size, 0u);
}

TEST(ReadWholeFile, MissingFileOrFolderFails) {
  TempFile file;
  std::string buffer;
  ErrorCode error = 0;
  EXPECT_FALSE(ReadWholeFile(file.path() + ".missing", buffer, nullptr, nullptr, error));
  EXPECT_NE(error, 0u);
  const std::string text = SystemErrorText(error);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');

  error = 0;
  EXPECT_FALSE(ReadWholeFile(std::filesystem::temp_directory_path().string(), buffer, nullptr, nullptr, error));
  EXPECT_NE(error, 0u);
}

TEST(SystemErrorText, TextsEndWithALineBreak) {
  EXPECT_NE(FileTooLargeError(), OutOfMemoryError());
  const std::string memory = SystemErrorText(OutOfMemoryError());
  ASSERT_FALSE(memory.empty());
  EXPECT_EQ(memory.back(), '\n');
  // Wine has no text for the file-too-large code; where there is one, it is
  // a whole line like the others.
  const std::string tooLarge = SystemErrorText(FileTooLargeError());
  if (!tooLarge.empty()) {
    EXPECT_EQ(tooLarge.back(), '\n');
  }
  EXPECT_EQ(SystemErrorText(0x3FFFFFF0u), "");
}

TEST(WideToNarrow, AsciiPassesThrough) {
  const char16_t units[] = {u'A', u'\r', u'\n', u'z', 0};
  EXPECT_EQ(WideToNarrow(units, 5), std::string("A\r\nz\0", 5));
  EXPECT_EQ(WideToNarrow(units, 0), "");
}

#ifndef _WIN32

TEST(ReadWholeFile, ReportsLocalModificationTime) {
  TempFile file("x");
  // 2021-03-14 15:09:26.535 UTC, a Sunday.
  const timespec times[2] = {{1615734566, 535897932}, {1615734566, 535897932}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.path().c_str(), times, 0), 0);
  std::tm expected{};
  const std::time_t seconds = 1615734566;
  ::localtime_r(&seconds, &expected);

  std::string buffer;
  FileTime time;
  ErrorCode error = 0;
  ASSERT_TRUE(ReadWholeFile(file.path(), buffer, nullptr, &time, error));
  EXPECT_EQ(time.year, expected.tm_year + 1900);
  EXPECT_EQ(time.month, expected.tm_mon + 1);
  EXPECT_EQ(time.day, expected.tm_mday);
  EXPECT_EQ(time.dayOfWeek, expected.tm_wday);
  EXPECT_EQ(time.hour, expected.tm_hour);
  EXPECT_EQ(time.minute, 9);
  EXPECT_EQ(time.second, 26);
  EXPECT_EQ(time.milliseconds, 535);
}

TEST(ReadWholeFile, FileOfFourGibibytesFailsUnread) {
  TempFile file;
  {
    const int fd = ::open(file.path().c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const bool sized = ::ftruncate(fd, off_t{1} << 32) == 0;  // sparse: no disk space used
    ::close(fd);
    if (!sized) GTEST_SKIP() << "the file system cannot hold a sparse 4 GiB file";
  }
  std::string buffer;
  ErrorCode error = 0;
  EXPECT_FALSE(ReadWholeFile(file.path(), buffer, nullptr, nullptr, error));
  EXPECT_EQ(error, FileTooLargeError());
  EXPECT_LT(buffer.capacity(), 1u << 20);
}

TEST(WideToNarrow, NativeCodePageIsWindows1252) {
  const char16_t units[] = {0x20AC, 0x00E9, 0x0178, 0x2122, 0x0081, 0x0100, 0xD83D, 0xDE00, 0xD800, u'x'};
  EXPECT_EQ(WideToNarrow(units, 10),
            "\x80\xe9\x9f\x99\x81??"
            "?x");
}

TEST(IsLeadByte, NativeCodePageHasNone) {
  for (unsigned byte = 0; byte < 256; ++byte) EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(byte)));
}

#endif

}  // namespace
}  // namespace mosaikon
