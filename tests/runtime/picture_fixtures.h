// The pixel formulas of the generated picture fixtures (fixtures/make_fixtures.py draws the same ones).
#pragma once

#include <cstdint>
#include <ostream>

namespace vexo::test {

constexpr int kPictureWidth = 13;
constexpr int kPictureHeight = 5;

struct Rgb {
  std::uint8_t r;
  std::uint8_t g;
  std::uint8_t b;
  bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "rgb(" << int{c.r} << "," << int{c.g} << "," << int{c.b} << ")";
}

inline Rgb PaletteColour(int i) {
  return {static_cast<std::uint8_t>((i * 53 + 17) % 256), static_cast<std::uint8_t>((i * 101 + 29) % 256),
          static_cast<std::uint8_t>((i * 197 + 71) % 256)};
}

inline int PaletteIndex(int x, int y, int colours) { return (x * 3 + y * 5) % colours; }

inline Rgb TrueColour(int x, int y) {
  return {static_cast<std::uint8_t>(x * 19 % 256), static_cast<std::uint8_t>(y * 47 % 256),
          static_cast<std::uint8_t>((x * 7 + y * 11) % 256)};
}

inline int Alpha(int x, int y) {
  constexpr int kAlphas[] = {0, 255, 128, 1, 254, 77};
  return kAlphas[(x + y) % 6];
}

// The 48-bit picture uses only 0 and full scale per channel, so its 8-bit form is exact.
inline Rgb WideColourIn8Bits(int x, int y) {
  return {static_cast<std::uint8_t>(x % 2 ? 255 : 0), static_cast<std::uint8_t>(y % 2 ? 255 : 0),
          static_cast<std::uint8_t>((x + y) % 3 == 0 ? 255 : 0)};
}

}  // namespace vexo::test
