// The Shell Integration page of the Settings dialog: the list of extensions
// registered for the program, edited with Add and Remove, and the switch
// that registers them at every start. It edits the sheet's copy of the
// settings.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/property_sheet.h"
#include "settings/settings_model.h"

namespace mosaikon {

// The Add File Type dialog: one extension, typed with or without its dot;
// what cannot be one and the types of programs are refused.
class AddFileTypeDialog : public ModalDialog<AddFileTypeDialog> {
 public:
  std::string extension;  // the result after OK

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnOk();
};

class ShellPage : public PropertyPage<ShellPage> {
 public:
  explicit ShellPage(SettingsModel& values) : values_(values) {}

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInitDialog();
  void OnAdd();
  void OnRemove();
  std::vector<std::string> Entries() const;

  SettingsModel& values_;  // FileTypes stays as stored until Add or Remove rebuild it from the list
  HWND list_ = nullptr;
};

}  // namespace mosaikon
