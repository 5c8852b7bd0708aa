#pragma once
// What the position display shows on the travel gauge and the go-to-limit
// buttons, from the position, the limits and the focus position.
#include <optional>

#include "platform/colors.h"

struct TravelGauge {
  int minValue = 0;                       // the gauge runs from the lower limit...
  int maxValue = 0;                       // ...to the upper one
  TColor foreColor = clNavy;              // green on the focus position
  std::optional<bool> lowerLimitButton;   // GoLimiteBasse enabled; none: keeps its state
  bool upperLimitButton = false;          // GoLimiteHaute enabled
};

// None when the gauge and the buttons keep their state: no upper limit, or an
// upper limit below the lower one. With no lower limit (0) the gauge runs
// from 0 and GoLimiteBasse keeps its state.
std::optional<TravelGauge> travelGauge(int position, int lowerLimit, int upperLimit, int focusPosition);
