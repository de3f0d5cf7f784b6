// The check marks and enabled states of the frame's commands, recorded in one
// table and pushed out where they show: to a popup menu as it opens, and to
// the toolbar buttons when the frame is idle.
#pragma once

#include <windows.h>

#include <vector>

namespace mosaikon {

class CommandStates {
 public:
  enum Where : unsigned { kMenu = 1, kToolbar = 2 };

  void Add(UINT id, unsigned where);
  void SetToolbar(HWND toolbar) { toolbar_ = toolbar; }

  void SetCheck(UINT id, bool checked);
  void Enable(UINT id, bool enabled);

  // Applies the menu states to the items of `popup` (by command id) and
  // clears its default item.
  void ApplyToMenu(HMENU popup) const;
  // Pushes the states that changed since the last call to the toolbar.
  void UpdateToolbar();

 private:
  struct Entry {
    UINT id;
    unsigned where;
    bool checked = false;
    bool disabled = false;
    bool toolbarDirty = true;
  };
  Entry* Find(UINT id);

  std::vector<Entry> entries_;
  HWND toolbar_ = nullptr;
};

}  // namespace mosaikon
