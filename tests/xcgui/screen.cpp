#include "tests/xcgui/screen.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/win/scoped_handles.h"

namespace xcgui_test {

namespace {

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

bool RunHostProgram(const std::string& command) {
  // wine cannot wait on a process of the build machine: the shell leaves a marker file when it is done.
  static int counter = 0;
  std::string marker = "/tmp/xcgui-done-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
  std::wstring line = Widen("/bin/sh -c \"" + command + "; touch " + marker + "\"");
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  // For a program of the build machine wine gives no process handle, and the thread field is not a
  // handle at all: it must not be closed.
  vexo::win::ScopedHandle process(info.hProcess);
  vexo::win::ScopedHandle thread(info.hProcess ? info.hThread : nullptr);
  std::wstring marker_path = Widen("Z:" + marker);
  for (int waited = 0; waited < 10000; waited += 5) {
    if (DeleteFileW(marker_path.c_str())) return true;
    Sleep(5);
  }
  return false;
}

namespace {

void Xdotool(const std::string& arguments) { RunHostProgram("/usr/bin/xdotool " + arguments); }

}  // namespace

void MouseMove(int x, int y) { Xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y)); }
void MouseDown() { Xdotool("mousedown 1"); }
void MouseUp() { Xdotool("mouseup 1"); }
void MouseClick(int count) { Xdotool("click --repeat " + std::to_string(count) + " --delay 60 1"); }
void Keys(const std::string& keys) { Xdotool("key --delay 30 " + keys); }
void TypeText(const std::string& text) { Xdotool("type --delay 30 '" + text + "'"); }

std::optional<Screenshot> GrabScreen(const RECT& rect) {
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  std::string name = "/tmp/xcgui-shot-" + std::to_string(GetCurrentProcessId()) + ".ppm";
  std::string geometry = std::to_string(width) + "x" + std::to_string(height) + "+" + std::to_string(rect.left) +
                         "+" + std::to_string(rect.top);
  DeleteFileW(Widen("Z:" + name).c_str());
  if (!RunHostProgram("/usr/bin/import -window root -crop " + geometry + " +repage -depth 8 ppm:" + name)) {
    return std::nullopt;
  }
  FILE* file = _wfopen(Widen("Z:" + name).c_str(), L"rb");
  if (!file) return std::nullopt;
  Screenshot shot;
  int max_value = 0;
  bool header = fscanf(file, "P6 %d %d %d", &shot.width, &shot.height, &max_value) == 3 && fgetc(file) != EOF;
  if (header && shot.width == width && shot.height == height && max_value == 255) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    if (fread(rgb.data(), 1, rgb.size(), file) == rgb.size()) {
      shot.pixels.resize(static_cast<size_t>(width) * height);
      for (size_t i = 0; i < shot.pixels.size(); ++i) {
        shot.pixels[i] = (rgb[i * 3] << 16) | (rgb[i * 3 + 1] << 8) | rgb[i * 3 + 2];
      }
    }
  }
  fclose(file);
  DeleteFileW(Widen("Z:" + name).c_str());
  if (shot.pixels.empty()) return std::nullopt;
  return shot;
}

bool ColorNear(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance) {
      return false;
    }
  }
  return true;
}

}  // namespace xcgui_test
