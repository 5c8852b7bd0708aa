#include "autofocus/mesure.h"

#include "measure/fwhm.h"

namespace {
std::function<double(bool)>& remplacement() {
  static std::function<double(bool)> mesure;
  return mesure;
}
}  // namespace

double MesureAutofocus(bool IsAutoFocus) {
  return remplacement() ? remplacement()(IsAutoFocus) : CalculeFWHM(IsAutoFocus);
}

void RemplaceMesureAutofocus(std::function<double(bool)> mesure) { remplacement() = std::move(mesure); }
