#pragma once
// The star picture the X11 tests show: black sky and one star of Gaussian
// profile, sigma 2 pixels, peak 250, at (kStarX, kStarY) of the picture.
#include <cmath>

constexpr int kStarPictureWidth = 320;
constexpr int kStarPictureHeight = 240;
constexpr int kStarX = 160;
constexpr int kStarY = 120;

inline int starPictureGrey(int x, int y) {
  const double r2 = (x - kStarX) * (x - kStarX) + (y - kStarY) * (y - kStarY);
  return int(std::lround(250 * std::exp(-r2 / 8.0)));
}
