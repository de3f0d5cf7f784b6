// The filter list of the Open dialog, built from the FileTypes setting: the
// art-file patterns first (when there are any), then all files.
#pragma once

#include <string>
#include <string_view>

namespace mosaikon {

// The filter in the dialog's own layout: description NUL pattern NUL ...,
// ending with one NUL of its own (c_str() supplies the final second one).
std::string BuildOpenFilter(std::string_view fileTypes);

}  // namespace mosaikon
