#pragma once
// A star that answers the focuser: a round star drawn into the in-memory
// desktop whose width follows the simulated focuser's position, drawn afresh
// each time the program captures the screen.
#include <QPoint>
#include <memory>

class FocusSimMotor;
class MemoryDesktop;

// The focus curve: a V around the best position, with a floor for seeing.
struct StarCurve {
  int best = 25000;     // the focuser position of the sharpest image
  double seeing = 4.5;  // the star is never narrower, pixels
  double slope = 0.25;  // pixels of width per focuser step away from `best`
  double peak = 200.0;  // grey level at the star's centre, on black
};

class SyntheticStar {
 public:
  // The star's centre is the pixel `centre`; it is drawn within `radius`
  // pixels of it (a pick there with a side of 40 measures exactly that).
  SyntheticStar(MemoryDesktop& desktop, std::shared_ptr<FocusSimMotor> motor, QPoint centre, StarCurve curve = {},
                int radius = 20);
  ~SyntheticStar();
  SyntheticStar(const SyntheticStar&) = delete;
  SyntheticStar& operator=(const SyntheticStar&) = delete;

  // The width (FWHM) the star has with the focuser at `position`.
  double width(int position) const;
  // Draws the star for where the focuser stands now.
  void render();

  const StarCurve curve;
  int renders = 0;

 private:
  MemoryDesktop& desktop_;
  std::shared_ptr<FocusSimMotor> motor_;
  QPoint centre_;
  int radius_;
};
