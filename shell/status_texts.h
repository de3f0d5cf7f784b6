// The texts the main frame shows about its document and its commands: the
// window title, the two file panes of the status bar, the status-bar prompt
// of a highlighted menu item and the tooltip of a toolbar button.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/file_time.h"

namespace mosaikon {

// "<appName> - <path>", or the application name alone for an empty path.
std::string TitleText(std::string_view appName, std::string_view path);

// "<label>: YYYY-MM-DD hh:mm:ss" in the file's local time; the year unpadded.
std::string ModifyTimeText(std::string_view label, const FileTime& time);
// The same without the label.
std::string FileTimeText(const FileTime& time);

// "<label>: <size in bytes>".
std::string FileSizeText(std::string_view label, std::uint32_t size);

// The string id whose text is the prompt for menu command `commandId`:
// system commands map onto the 0xEF00 block, 0xE110-0xE11F onto 61402, ids
// from 0xFF00 onto 61215, everything else onto itself.
std::uint32_t MenuPromptStringId(std::uint32_t commandId);

// The status-bar prompt of a command string: the text before its first "\n".
std::string PromptFromCommandString(std::string_view text);

// The tooltip of a command string: the text after its first "\n", at most
// kMaxTooltipChars bytes; empty when the string has no "\n".
constexpr std::size_t kMaxTooltipChars = 79;
std::string TooltipFromCommandString(std::string_view text);

}  // namespace mosaikon
