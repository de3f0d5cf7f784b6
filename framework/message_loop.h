// The thread's message loop: message filters see every queued message before
// it is dispatched, and idle handlers run once the queue is empty, until one
// of them declines further idle work. One loop is registered per thread.
#pragma once

#include <windows.h>

#include <vector>

namespace mosaikon {

class MessageFilter {
 public:
  // True when the message is consumed and must not be dispatched.
  virtual bool PreTranslateMessage(MSG& message) = 0;

 protected:
  ~MessageFilter() = default;
};

class IdleHandler {
 public:
  // Called while the queue is empty; false ends idle work until the next
  // message that re-arms it.
  virtual bool OnIdle(int idleCount) = 0;

 protected:
  ~IdleHandler() = default;
};

class MessageLoop {
 public:
  MessageLoop() = default;
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  void AddMessageFilter(MessageFilter* filter);
  void RemoveMessageFilter(MessageFilter* filter);
  void AddIdleHandler(IdleHandler* handler);
  void RemoveIdleHandler(IdleHandler* handler);

  // Runs until WM_QUIT; returns its wParam.
  int Run();

  // False for the messages that do not re-arm idle work: they arrive in
  // streams while the user does nothing that could change a command's state.
  static bool RearmsIdle(const MSG& message);

 private:
  bool PreTranslate(MSG& message);
  bool RunIdleHandlers(int idleCount);

  std::vector<MessageFilter*> filters_;
  std::vector<IdleHandler*> idleHandlers_;
};

// The loop registered for the calling thread, or null.
MessageLoop* CurrentMessageLoop();
// Registers `loop` for the calling thread (null unregisters).
void RegisterMessageLoop(MessageLoop* loop);

}  // namespace mosaikon
