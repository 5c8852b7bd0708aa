#include "focuser/travel_gauge.h"

#include "app/Unit1.h"

std::optional<TravelGauge> travelGauge(int position, int lowerLimit, int upperLimit, int focusPosition) {
  if (upperLimit == kNoUpperLimit || upperLimit < lowerLimit) return std::nullopt;
  TravelGauge g;
  if (lowerLimit != kNoLowerLimit) g.lowerLimitButton = position != lowerLimit;
  g.upperLimitButton = position != upperLimit;
  g.minValue = lowerLimit;
  g.maxValue = upperLimit;
  g.foreColor = position == focusPosition ? clGreen : clNavy;
  return g;
}
