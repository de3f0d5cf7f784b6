// The message loop with its filter and idle-handler lists.
#include "framework/message_loop.h"

#include <algorithm>

#include "framework/exception_barrier.h"

namespace mosaikon {

namespace {
thread_local MessageLoop* threadLoop = nullptr;
}  // namespace

MessageLoop* CurrentMessageLoop() {
  return threadLoop;
}
void RegisterMessageLoop(MessageLoop* loop) {
  threadLoop = loop;
}

void MessageLoop::AddMessageFilter(MessageFilter* filter) {
  filters_.push_back(filter);
}
void MessageLoop::RemoveMessageFilter(MessageFilter* filter) {
  std::erase(filters_, filter);
}
void MessageLoop::AddIdleHandler(IdleHandler* handler) {
  idleHandlers_.push_back(handler);
}
void MessageLoop::RemoveIdleHandler(IdleHandler* handler) {
  std::erase(idleHandlers_, handler);
}

bool MessageLoop::RearmsIdle(const MSG& message) {
  switch (message.message) {
    case WM_PAINT:
    case WM_NCMOUSEMOVE:
    case 0x0118:  // the system timer that drives the caret blink
    case WM_MOUSEMOVE:
      return false;
    default:
      return true;
  }
}

bool MessageLoop::PreTranslate(MSG& message) {
  // Newest filter first; a copy, since a filter may remove itself.
  const std::vector<MessageFilter*> filters = filters_;
  for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
    if ((*it)->PreTranslateMessage(message)) return true;
  }
  return false;
}

bool MessageLoop::RunIdleHandlers(int idleCount) {
  // Every handler runs; any one of them declining ends idle work.
  if (idleHandlers_.empty()) return false;
  bool more = true;
  const std::vector<IdleHandler*> handlers = idleHandlers_;
  for (IdleHandler* handler : handlers) {
    if (!handler->OnIdle(idleCount)) more = false;
  }
  return more;
}

int MessageLoop::Run() {
  bool idleArmed = true;
  int idleCount = 0;
  MSG message{};
  for (;;) {
    while (idleArmed && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      // A handler that fails declines further idle work, like one that says so.
      if (!CallGuarded([&] { return RunIdleHandlers(idleCount++); }, [] { return false; })) idleArmed = false;
    }
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) continue;
    if (!got) break;
    // A filter that fails leaves the message to be dispatched as usual.
    if (!CallGuarded([&] { return PreTranslate(message); }, [] { return false; })) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (RearmsIdle(message)) {
      idleArmed = true;
      idleCount = 0;
    }
  }
  return static_cast<int>(message.wParam);
}

}  // namespace mosaikon
