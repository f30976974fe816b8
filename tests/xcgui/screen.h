// Real input and real screen pixels for window tests: xdotool and ImageMagick's import on the X display
// that wine draws on (DISPLAY from the wine session).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace xcgui_test {

// Runs a shell command of the build machine (e.g. "/usr/bin/xdotool click 1") and waits for it; false
// when it could not be started or did not finish within 10 seconds.
bool RunHostProgram(const std::string& command);

// Moves the pointer to screen point (x, y).
void MouseMove(int x, int y);
// Presses or releases the left button, or clicks it `count` times.
void MouseDown();
void MouseUp();
void MouseClick(int count = 1);
// Sends key presses, in xdotool's names ("Tab", "ctrl+a", "alt+F4").
void Keys(const std::string& keys);
// Types ASCII text.
void TypeText(const std::string& text);

// Pixels of a part of the screen, as 0xRRGGBB.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The screen's pixels inside `rect` (screen coordinates); nullopt when the capture failed.
std::optional<Screenshot> GrabScreen(const RECT& rect);

// True when two 0xRRGGBB colours differ by at most `tolerance` in every channel.
bool ColorNear(uint32_t a, uint32_t b, int tolerance = 8);

}  // namespace xcgui_test
