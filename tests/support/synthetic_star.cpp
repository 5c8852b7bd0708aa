#include "synthetic_star.h"

#include <QImage>
#include <cmath>

#include "memory_desktop.h"
#include "platform/focuser_sim.h"

namespace {
// Off the pixel grid, so that the count of pixels above half the peak grows
// with every step in width rather than by whole rings of pixels.
const QPointF kOffCentre(0.37, 0.21);
}  // namespace

SyntheticStar::SyntheticStar(MemoryDesktop& desktop, std::shared_ptr<FocusSimMotor> motor, QPoint centre, StarCurve c,
                             int radius)
    : curve(c), desktop_(desktop), motor_(std::move(motor)), centre_(centre), radius_(radius) {
  desktop_.beforeCopy = [this] { render(); };
  render();
}

SyntheticStar::~SyntheticStar() { desktop_.beforeCopy = nullptr; }

double SyntheticStar::width(int position) const {
  return std::max(curve.seeing, curve.slope * std::abs(position - curve.best));
}

void SyntheticStar::render() {
  ++renders;
  // A Gaussian profile: its width at half the peak is the star's FWHM.
  const double sigma = width(motor_->position()) / (2.0 * std::sqrt(2.0 * std::log(2.0)));
  const int side = 2 * radius_ + 1;
  QImage patch(side, side, QImage::Format_RGB32);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const double dx = x - radius_ - kOffCentre.x(), dy = y - radius_ - kOffCentre.y();
      const int grey = qRound(curve.peak * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma)));
      patch.setPixel(x, y, qRgb(grey, grey, grey));
    }
  desktop_.showImage(patch, centre_ - QPoint(radius_, radius_));
}
