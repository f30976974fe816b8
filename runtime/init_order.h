// Construction order of the program's static objects, enforced with GCC's init_priority (lower first).
#pragma once

// Static objects without a priority are constructed after every prioritised one, in link order; the
// application object is not a static at all but is created by wWinMain after all of them.
namespace vexo::init_order {

// The application instance with its memory manager: everything else may allocate.
inline constexpr int kAppInstance = 1000;
// The network library's process-wide initialisation (curl_global_init).
inline constexpr int kNetworkLibrary = 1100;
// The program's own static data (texts, network object, window wrappers).
inline constexpr int kProgramStatics = 1200;

}  // namespace vexo::init_order

// Marks a namespace-scope static object to be constructed at the given vexo::init_order priority.
#define VEXO_INIT_ORDER(priority) __attribute__((init_priority(::vexo::init_order::priority)))
