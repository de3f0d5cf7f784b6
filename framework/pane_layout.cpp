// Pane width and resize arithmetic of the status bar.
#include "framework/pane_layout.h"

#include "resources/resource_ids.h"

namespace mosaikon {

std::vector<int> PaneRightEdges(std::vector<int> widths, int gap) {
  if (widths.empty()) return widths;
  widths[0] += gap;
  for (std::size_t i = 1; i < widths.size(); ++i) widths[0] += widths[i];
  for (std::size_t i = 1; i < widths.size(); ++i) widths[i] += widths[i - 1] + gap;
  return widths;
}

bool ResizePanes(std::vector<int>& rightEdges, const std::vector<int>& paneIds, int clientWidth, int reserved) {
  if (rightEdges.empty()) return false;
  const int delta = clientWidth - rightEdges.back() - reserved;
  std::size_t index = 0;
  while (index < paneIds.size() && index < rightEdges.size() && paneIds[index] != ID_PANE_DEFAULT) ++index;
  if (index >= paneIds.size() || index >= rightEdges.size()) return false;
  const int left = index == 0 ? 0 : rightEdges[index - 1];
  if (rightEdges[index] + delta <= left) return false;
  for (std::size_t i = index; i < rightEdges.size(); ++i) rightEdges[i] += delta;
  return delta != 0;
}

}  // namespace mosaikon
