// The process's module handles: the program's own module, and the module
// that user-interface resources are loaded from (replaced by a language pack
// at start-up). Both work during static initialisation.
#include <windows.h>

#include "framework/window.h"

namespace mosaikon {

namespace {
// Zero-initialised before any constructor runs, so the functions below may be
// called from the constructors of other globals.
HINSTANCE volatile programModule = nullptr;
void* volatile resourceModule = nullptr;
}  // namespace

HINSTANCE ProgramModule() {
  if (!programModule) programModule = GetModuleHandleA(nullptr);
  return programModule;
}

HINSTANCE ResourceModule() {
  void* module = resourceModule;
  return module ? static_cast<HINSTANCE>(module) : ProgramModule();
}

void SetResourceModule(HINSTANCE module) {
  InterlockedExchangePointer(const_cast<void**>(&resourceModule), module);
}

}  // namespace mosaikon
