// The few operating-system services the core needs, behind plain functions:
// reading a whole file, the system's error texts, conversions between UTF-16,
// UTF-8 and the ANSI code page, and the lead bytes of the ANSI code page. common/win32/ implements them with
// the Win32 calls; common/posix/ implements them for the native build, where
// the "ANSI code page" is Windows-1252 (a single-byte code page).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/file_time.h"

namespace mosaikon {

using ErrorCode = std::uint32_t;

// The largest file a document can hold: its line positions are signed 32-bit.
constexpr std::uint64_t kMaxFileSize = 0x7FFFFFFF;

// Error codes the core itself reports, in the platform's numbering.
ErrorCode FileTooLargeError();     // a file larger than kMaxFileSize
ErrorCode OutOfMemoryError();      // a file too large to hold in memory
ErrorCode FileNameTooLongError();  // a path longer than the system takes

// Reads the whole file into `buffer` (replacing its contents) and reports its
// size and last-write time in local time. `path` is UTF-8, as every path
// inside the program is, so that a name outside the ANSI code page reaches
// the system whole. On failure returns false with the reason in `error`;
// `buffer` is then unspecified. A file larger than kMaxFileSize fails with
// FileTooLargeError() before anything is read.
bool ReadWholeFile(const std::string& path, std::string& buffer, std::uint32_t* size, FileTime* time, ErrorCode& error);

// The system's message text for `code` (with its trailing line break), or an
// empty string when the system has none.
std::string SystemErrorText(ErrorCode code);

// Converts UTF-16LE code units to the ANSI code page; characters the code page
// lacks come out as a best-fit or default character.
std::string WideToNarrow(const char16_t* units, std::size_t count);

// Text of the ANSI code page in UTF-8.
std::string AnsiToUtf8(std::string_view ansi);

// UTF-8 text in the ANSI code page, when the code page holds every character
// of it as itself (no best-fit or default character); otherwise nothing.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);

// A hint before a large fresh buffer is filled: back it with large pages
// where the system offers them, so filling it takes far fewer page faults.
// Never changes the contents; does nothing for small buffers or where there
// is no such service.
void AdviseLargePages(void* data, std::size_t size);

// True when `byte` starts a double-byte character in the ANSI code page.
// The native build's code page has no lead bytes.
bool IsLeadByte(unsigned char byte);

}  // namespace mosaikon
