// The download cases the network benchmark compares: plain libcurl and the network engine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vexo::bench {

// Case variants, in the order the benchmark runs and prints them.
enum Variant : int {
  // A plain libcurl easy handle writing into a buffer grown by half each time it is full.
  kPlain,
  // WebAccess on a worker thread, the network object made on this thread, which handles its progress
  // events while it dispatches messages, as the installer's UI thread does.
  kEngine,
  kVariantCount,
};

// The variant's name on the command line and in the table.
const char* VariantName(int variant);
// The variant with that name, or -1.
int VariantByName(const char* name);

// What one download measured.
struct CaseFigures {
  bool ok = false;           // the transfer succeeded with status 200
  std::int64_t bytes = 0;    // body bytes held at the end
  double seconds = 0;        // wall time of the transfer itself
  std::size_t baseline_ws = 0;  // working set just before the transfer started
};

// Downloads `url` once with `variant`, trusting the CA certificates of `ca_file` (an ANSI path).
CaseFigures RunCase(int variant, const char* url, const char* ca_file);

}  // namespace vexo::bench
