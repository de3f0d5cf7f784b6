// The one place where exceptions stop. Every procedure the system calls us
// through (window, dialog, subclass and hook procedures) runs its work
// inside CallGuarded: an exception must not unwind through the system's
// frames, and one failed message (out of memory while painting, say) must
// not end the program, which would lose the settings it saves at exit.
#pragma once

namespace mosaikon {

// Returns work(); when work throws, returns fallback() instead, the answer
// the system expects for a message nobody handled.
template <typename Work, typename Fallback>
auto CallGuarded(Work&& work, Fallback&& fallback) noexcept -> decltype(work()) {
  try {
    return work();
  } catch (...) {
    return fallback();
  }
}

}  // namespace mosaikon
