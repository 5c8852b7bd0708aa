#pragma once
// The stored settings: the fields of the state record that the settings file
// "trevast.ini" and the profile files carry, and the sentinels of their values.
#include <QString>

// Sentinels of the stored values.
constexpr int kNoLowerLimit = 0;
constexpr int kNoUpperLimit = 99999;
constexpr int kNoFocusPosition = 0;
constexpr int kNoStoredPlace = -1;

// The settings fields of the state record. The main window derives from it,
// and a plain record holds them without a window. Every field starts at zero; the window's creation and the
// settings file give the values.
struct SettingsRecord {
  QString FocName;          // driver's friendly name
  QString FocDriver;        // driver's identifier; empty = none configured
  int xPasLent = 0;         // slow move, in multiples of FocStep
  int xPasRapide = 0;       // fast move = xPasLent x xPasRapide x FocStep
  int xTolerance = 0;       // autofocus tolerance, percent
  int xDelaiAutofocus = 0;  // settle delay, seconds
  int xLimiteBasse = 0;     // lower limit; 0 = none
  int xLimiteHaute = 0;     // upper limit; 99999 = none
  int xPosition = 0;        // focuser position as the program knows it
  int xPositionMap = 0;     // stored focus position; 0 = none
  int FormGauche = 0;       // window left read from the settings; -1 = none
  int FormHaut = 0;         // window top read from the settings; -1 = none
  int xMethode = 0;         // 0 successive approaches, else intra/extra
  double xCible = 0.0;      // target FWHM of the intra/extra method, pixels
  int xNbMesures = 0;       // measures per focuser position
  bool xManuel = false;     // manual trigger before each autofocus measure
  int xTaille = 0;          // side of the measured square, pixels

  bool operator==(const SettingsRecord&) const = default;
};
