// Makes sure the "Terminal" OEM raster face exists for this process. Systems without it (Wine, for one)
// realise a proportional ANSI font instead, so the copy shipped beside the executable is loaded privately.
#pragma once

#include <string>

namespace mosaikon {

// Call before creating the cell font. When no fixed-pitch face "Terminal" with the OEM character set is
// installed, loads moduleDirectory + "MosaikonTerminal.fon" for this process only (tried once).
// Returns whether such a face is available afterwards.
bool EnsureTerminalFont(const std::string& moduleDirectory);

}  // namespace mosaikon
