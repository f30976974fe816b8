// Runs work on a second thread while the calling thread dispatches its messages, as a UI thread does.
#pragma once

#include <functional>

namespace vexo::test {

// Runs `work` on a new thread and dispatches the calling thread's messages until it has finished.
void RunWhilePumping(const std::function<void()>& work);

}  // namespace vexo::test
