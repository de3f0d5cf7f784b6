// Open dialog filter from the FileTypes list ("asc;nfo;" and the like).
#include "shell/open_filter.h"

#include <algorithm>
#include <vector>

#include "common/string_util.h"

namespace mosaikon {

std::string BuildOpenFilter(std::string_view fileTypes) {
  std::vector<std::string> extensions;
  SplitString(fileTypes, ";", false, true, extensions);
  std::string filter;
  if (!extensions.empty()) {
    std::string pattern;
    for (const std::string& extension : extensions) {
      if (!pattern.empty()) pattern += ';';
      pattern += "*." + extension;
    }
    filter = "ASCII Art Files (" + pattern + ")|" + pattern + "|";
  }
  filter += "All Files (*.*)|*.*|";
  std::replace(filter.begin(), filter.end(), '|', '\0');
  return filter;
}

}  // namespace mosaikon
