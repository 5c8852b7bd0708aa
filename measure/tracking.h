#pragma once
// FWHM tracking: the blinking of the status lamp and the history chart's axes.
#include "platform/colors.h"

class QChartView;

// The lamp's colour after a tick of the blinking: clInactiveCaptionText turns
// clMoneyGreen, anything else (clMoneyGreen, or clMaroon after a measure) turns
// clInactiveCaptionText.
TColor couleurClignotement(TColor actuelle);

// Puts the history chart's left labels beside its plot area, at their
// graduations; the chart's layout calls it again each time the area moves.
void placeEtiquettesHistorique(QChartView* chart);
