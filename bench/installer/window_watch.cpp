#include "bench/installer/window_watch.h"

#include <memory>
#include <utility>

#include "runtime/win/scoped_handles.h"

namespace vexo::bench {

namespace {

// The visible top-level window of another process with this title, or null.
HWND FindVisibleWindow(const std::wstring& title) {
  struct Search {
    const std::wstring* title;
    HWND found;
  } search{&title, nullptr};
  ::EnumWindows(
      [](HWND window, LPARAM data) WINAPI -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        // Windows of this process are skipped before their text is asked for: that would send a message to
        // a thread of ours that may be waiting for this one.
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
        wchar_t text[128] = {};
        ::GetWindowTextW(window, text, 128);
        if (*s->title != text) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Copies screen areas of one size into a bitmap of its own and hashes their pixels.
class ScreenSampler {
 public:
  ScreenSampler(int width, int height)
      : width_(width),
        height_(height),
        screen_(nullptr),
        memory_(::CreateCompatibleDC(screen_.get())),
        bitmap_(MakeBitmap(memory_.get(), width, height, &pixels_)),
        selected_(memory_.get(), bitmap_.get()) {}

  int width() const { return width_; }
  int height() const { return height_; }

  // The FNV-1a hash of the screen's pixels in the area of the sampler's size at (left, top); false when
  // they could not be read.
  bool Hash(int left, int top, std::uint64_t* hash) {
    if (!screen_ || !bitmap_ || !::BitBlt(memory_.get(), 0, 0, width_, height_, screen_.get(), left, top, SRCCOPY)) {
      return false;
    }
    ::GdiFlush();
    std::uint64_t h = 14695981039346656037ull;
    const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    for (std::size_t i = 0; i < count; ++i) h = (h ^ (pixels_[i] & 0xFFFFFFu)) * 1099511628211ull;
    *hash = h;
    return true;
  }

 private:
  // A top-down bitmap of 32 bits a pixel; its pixels' address goes to `pixels`.
  static HBITMAP MakeBitmap(HDC dc, int width, int height, const std::uint32_t** pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    *pixels = static_cast<const std::uint32_t*>(bits);
    return bitmap;
  }

  int width_;
  int height_;
  const std::uint32_t* pixels_ = nullptr;
  win::ScopedWindowDc screen_;
  win::ScopedMemoryDc memory_;
  win::ScopedBitmap bitmap_;
  win::ScopedSelectObject selected_;
};

}  // namespace

double Now() {
  LARGE_INTEGER frequency, counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

WindowWatch::WindowWatch(std::wstring title, DWORD stable_ms, DWORD timeout_ms)
    : title_(std::move(title)), thread_([this, stable_ms, timeout_ms] { Run(stable_ms, timeout_ms); }) {}

WindowWatch::~WindowWatch() {
  if (thread_.joinable()) thread_.join();
}

double WindowWatch::FinalImageSeen() {
  if (thread_.joinable()) thread_.join();
  return result_;
}

void WindowWatch::Run(DWORD stable_ms, DWORD timeout_ms) {
  const double start = Now();
  const double stable = stable_ms / 1000.0;
  const double timeout = timeout_ms / 1000.0;
  std::unique_ptr<ScreenSampler> sampler;
  std::unordered_map<std::uint64_t, double> first_seen;
  std::uint64_t last = 0;
  double last_change = -1;
  while (Now() - start < timeout) {
    if (window_ == nullptr && (window_ = FindVisibleWindow(title_)) == nullptr) {
      ::Sleep(1);
      continue;
    }
    RECT rect{};
    if (!::GetWindowRect(window_, &rect)) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!sampler || sampler->width() != width || sampler->height() != height) {
      sampler = std::make_unique<ScreenSampler>(width, height);
    }
    std::uint64_t hash = 0;
    if (!sampler->Hash(rect.left, rect.top, &hash)) return;
    const double now = Now();
    first_seen.emplace(hash, now);
    if (last_change < 0 || hash != last) {
      last = hash;
      last_change = now;
    } else if (now - last_change >= stable) {
      result_ = first_seen[last];
      return;
    }
    ::Sleep(1);
  }
}

}  // namespace vexo::bench
