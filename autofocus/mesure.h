#pragma once
// The measurement an autofocus run takes at each focuser position.
#include <functional>

// CalculeFWHM(IsAutoFocus), or the measurement put in its place.
double MesureAutofocus(bool IsAutoFocus);

// Puts `mesure` in the place of CalculeFWHM, so a test can give a run a
// scripted sequence of FWHM values; an empty function puts CalculeFWHM back.
void RemplaceMesureAutofocus(std::function<double(bool)> mesure);
