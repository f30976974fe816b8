#include "tests/support/message_pump.h"

#include <windows.h>

#include <thread>

#include "runtime/win/scoped_handles.h"

namespace vexo::test {

void RunWhilePumping(const std::function<void()>& work) {
  win::ScopedHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread worker([&] {
    work();
    ::SetEvent(done.get());
  });
  HANDLE wait_for = done.get();
  while (::MsgWaitForMultipleObjects(1, &wait_for, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  }
  worker.join();
}

}  // namespace vexo::test
