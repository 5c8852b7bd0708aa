#pragma once
// The star picture the X11 tests show: black sky and two stars of Gaussian
// profile, sigma 2 pixels: a bright one, peak 250, at (kStarX, kStarY) of the
// picture, and a faint one, peak 120, at (kFaintX, kFaintY), so faint that a
// red line inside its square rises above its half level.
#include <cmath>

constexpr int kStarPictureWidth = 320;
constexpr int kStarPictureHeight = 240;
constexpr int kStarX = 160;
constexpr int kStarY = 120;
constexpr int kFaintX = 60;
constexpr int kFaintY = 60;

inline int starPictureGrey(int x, int y) {
  const auto star = [&](int cx, int cy, double peak) {
    const double r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return int(std::lround(peak * std::exp(-r2 / 8.0)));
  };
  return star(kStarX, kStarY, 250) + star(kFaintX, kFaintY, 120);
}
