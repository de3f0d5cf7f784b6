// The command state table.
#include "framework/command_states.h"

#include <commctrl.h>

namespace mosaikon {

void CommandStates::Add(UINT id, unsigned where) {
  entries_.push_back(Entry{id, where});
}

CommandStates::Entry* CommandStates::Find(UINT id) {
  for (Entry& entry : entries_)
    if (entry.id == id) return &entry;
  return nullptr;
}

void CommandStates::SetCheck(UINT id, bool checked) {
  Entry* entry = Find(id);
  if (!entry || entry->checked == checked) return;
  entry->checked = checked;
  entry->toolbarDirty = true;
}

void CommandStates::Enable(UINT id, bool enabled) {
  Entry* entry = Find(id);
  if (!entry || entry->disabled == !enabled) return;
  entry->disabled = !enabled;
  entry->toolbarDirty = true;
}

void CommandStates::ApplyToMenu(HMENU popup) const {
  if (!popup) return;
  SetMenuDefaultItem(popup, static_cast<UINT>(-1), FALSE);
  for (const Entry& entry : entries_) {
    if (!(entry.where & kMenu)) continue;
    // Commands missing from this popup are left alone by the menu functions.
    CheckMenuItem(popup, entry.id, MF_BYCOMMAND | (entry.checked ? MF_CHECKED : MF_UNCHECKED));
    EnableMenuItem(popup, entry.id, MF_BYCOMMAND | (entry.disabled ? MF_GRAYED : MF_ENABLED));
  }
}

void CommandStates::UpdateToolbar() {
  if (!toolbar_) return;
  for (Entry& entry : entries_) {
    if (!(entry.where & kToolbar) || !entry.toolbarDirty) continue;
    entry.toolbarDirty = false;
    // Buttons the toolbar lacks make these messages fail; nothing else happens.
    SendMessageA(toolbar_, TB_CHECKBUTTON, entry.id, MAKELPARAM(entry.checked ? TRUE : FALSE, 0));
    SendMessageA(toolbar_, TB_ENABLEBUTTON, entry.id, MAKELPARAM(entry.disabled ? FALSE : TRUE, 0));
  }
}

}  // namespace mosaikon
