// The arithmetic behind the status bar's panes: the right edges of the parts
// from the pane widths, and how the parts follow a change of the bar's width
// so that the fixed panes stay at the right end and the default pane takes
// the rest (the pane with id ID_PANE_DEFAULT).
#pragma once

#include <cstdint>
#include <vector>

namespace mosaikon {

// Right edges of the parts for panes of the given widths; `gap` is the bar's
// gap between two parts. The first pane is placed as wide as all the others
// together (it is stretched by the first resize).
std::vector<int> PaneRightEdges(std::vector<int> widths, int gap);

// Moves the parts after a resize of the bar to `clientWidth`; `reserved` is
// the width kept free at the right for the size grip. Returns false (and
// leaves `rightEdges` alone) when nothing changes: no default pane, or it
// would shrink to nothing.
bool ResizePanes(std::vector<int>& rightEdges, const std::vector<int>& paneIds, int clientWidth, int reserved);

}  // namespace mosaikon
