// The hyperlink control: a static-like window whose text is its target. It
// shows the text underlined in the link colour with a hand pointer, opens the
// target with the shell on a click (or Space/Enter when focused), and then
// shows itself as visited.
#pragma once

#include <windows.h>

namespace mosaikon {

// Registers the window class MOSAIKON_HYPERLINK_CLASS once; dialog templates
// name it for their link lines.
bool RegisterHyperLinkClass();

}  // namespace mosaikon
