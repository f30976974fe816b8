#include "bench/net/bench_cases.h"

#include <curl/curl.h>
#include <windows.h>

#include <psapi.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "net/net_access.h"
#include "net/net_settings.h"
#include "tests/support/message_pump.h"

namespace vexo::bench {

namespace {

constexpr const char* kVariantNames[kVariantCount] = {"libcurl", "WebAccess"};

std::size_t CurrentWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
  return counters.WorkingSetSize;
}

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A body buffer that grows by half when full: the usual geometric growth of a plain client.
struct GrowingBuffer {
  char* data = nullptr;
  std::size_t length = 0;
  std::size_t capacity = 0;
  bool failed = false;

  ~GrowingBuffer() { std::free(data); }

  static std::size_t Append(char* bytes, std::size_t size, std::size_t count, void* target) {
    GrowingBuffer& self = *static_cast<GrowingBuffer*>(target);
    std::size_t n = size * count;
    if (self.length + n > self.capacity) {
      std::size_t capacity = self.capacity < 65536 ? 65536 : self.capacity;
      while (capacity < self.length + n) capacity += capacity / 2;
      char* grown = static_cast<char*>(std::realloc(self.data, capacity));
      if (grown == nullptr) {
        self.failed = true;
        return 0;
      }
      self.data = grown;
      self.capacity = capacity;
    }
    std::memcpy(self.data + self.length, bytes, n);
    self.length += n;
    return n;
  }
};

struct EasyCleanup {
  void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};

CaseFigures RunPlain(const char* url, const char* ca_file) {
  CaseFigures figures;
  std::unique_ptr<CURL, EasyCleanup> easy(curl_easy_init());
  if (!easy) return figures;
  GrowingBuffer body;
  curl_easy_setopt(easy.get(), CURLOPT_URL, url);
  curl_easy_setopt(easy.get(), CURLOPT_CAINFO, ca_file);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &GrowingBuffer::Append);
  curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
  figures.baseline_ws = CurrentWorkingSet();
  double start = Now();
  CURLcode code = curl_easy_perform(easy.get());
  figures.seconds = Now() - start;
  long status = 0;
  curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
  figures.ok = code == CURLE_OK && status == 200 && !body.failed;
  figures.bytes = static_cast<std::int64_t>(body.length);
  return figures;
}

// The handler's owner, standing in for a progress bar: the latest counts, updated on the UI thread.
class ProgressBar : public CPelObject {
 public:
  std::int64_t total = 0;
  std::int64_t done = 0;
  int updates = 0;
};

std::int32_t MoveProgressBar(CPelObject* owner, CPelObject*, std::uint32_t, std::int64_t total, std::int64_t done,
                             std::int64_t, std::int64_t) {
  auto& bar = *static_cast<ProgressBar*>(owner);
  bar.total = total;
  bar.done = done;
  ++bar.updates;
  return 0;
}

CaseFigures RunEngine(const char* url, const char* ca_file) {
  using namespace rg_Pelor_ShiChuang_WangLao;
  vexo::net::NetSettings settings;
  settings.ca_file = ca_file;
  vexo::net::SetNetSettings(settings);

  CaseFigures figures;
  rg_WangLaoFangWenLei net;
  ProgressBar bar;
  CPelObjectPointer* self = new CPelObjectPointer(&bar);
  net.GetProgressEvent().Bind(&MoveProgressBar, self, 0);

  CWString address;
  address.SetFromUtf8(url);
  const CWString no_text;
  const CPelMem no_body = MakeNullObject<CPelMem>();
  const rg_Pelor_JiBen::rg_WenBenShuZuLei no_headers = MakeNullObject<rg_Pelor_JiBen::rg_WenBenShuZuLei>();
  figures.baseline_ws = CurrentWorkingSet();
  vexo::test::RunWhilePumping([&] {
    double start = Now();
    rg_WangYeFangWenXiangYingLei response =
        net.WebAccess(address, CWString(L"GET"), no_body, no_headers, no_text, no_text, no_text, no_text, no_text);
    figures.seconds = Now() - start;
    figures.bytes = response.GetBody().GetLength();
    figures.ok = response.GetStatusCode() == 200;
  });
  figures.ok = figures.ok && bar.updates > 0 && bar.done == figures.bytes;
  net.GetProgressEvent().Bind(nullptr, nullptr, 0);
  self->Clear();
  self->Release();
  return figures;
}

}  // namespace

const char* VariantName(int variant) {
  return variant >= 0 && variant < kVariantCount ? kVariantNames[variant] : "?";
}

int VariantByName(const char* name) {
  for (int v = 0; v < kVariantCount; ++v) {
    if (std::strcmp(kVariantNames[v], name) == 0) return v;
  }
  return -1;
}

CaseFigures RunCase(int variant, const char* url, const char* ca_file) {
  switch (variant) {
    case kPlain:
      return RunPlain(url, ca_file);
    case kEngine:
      return RunEngine(url, ca_file);
    default:
      return {};
  }
}

}  // namespace vexo::bench
