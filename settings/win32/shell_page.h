// The Shell Integration page of the Settings dialog: the list of extensions
// registered for the program, edited with Add and Remove, and the switch
// that registers them at every start. It edits its own copies, which the
// Settings command fills in and reads back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/property_sheet.h"

namespace mosaikon {

// The Add File Type dialog: one extension, typed with or without its dot.
class AddFileTypeDialog : public ModalDialog<AddFileTypeDialog> {
 public:
  std::string extension;  // the result after OK

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

class ShellPage : public PropertyPage<ShellPage> {
 public:
  // As stored until Add or Remove rebuild it from the list.
  std::string FileTypes;
  std::int32_t RegisterOnStart = 0;

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInitDialog();
  void OnAdd();
  void OnRemove();
  std::vector<std::string> Entries() const;

  HWND list_ = nullptr;
};

}  // namespace mosaikon
