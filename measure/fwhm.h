#pragma once
// The FWHM measurement of the star in the square at (OrigX, OrigY).
#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>

#include "platform/colors.h"

// The result a measurement gives when the user abandons the manual trigger
// (or the program closes before the capture).
constexpr double kFwhmAbandon = 99.0;

// The largest square the measurement holds: its table has 39 x 39 values.
constexpr int kMaxTaille = 40;

// The side actually measured: the table holds 39 x 39 values, so a side read
// from a hand-edited file is brought within 0 to 40.
int measuredSide(int xTaille);

// A pixel's intensity, 0 (black) to 255 (white): (77 R + 150 G + 29 B) / 256.
double intensite(QRgb pixel);

// What one square gives. Row 0 and column 0 of the square are not scanned.
struct StarMeasure {
  double IMax = 0.0;    // largest intensity of the scanned area
  double IMin = 32000;  // smallest
  int YMax = 0;         // row of the first maximum; 0 when no pixel is brighter than 0
  double IMax2 = 0.0;   // largest intensity of the profile row
  QList<double> profil;        // the intensities of row YMax, left to right
  int colonneProfil = 1;       // the square's column of profil's first value
  double demiNiveau = 0.0;     // the half level, IMin + (IMax - IMin) / 2
  int lignes = 0;              // rows scanned: the half-level line has one point per row
  int K = 0;                   // pixels at or above the half level
  double fwhm = 0.0;           // diameter of the disc of K pixels
};

// Measures the square `image` of side `side` (brought within 0 to 40) over
// the pixels of `onScreen` (square coordinates) only: those beyond the screen,
// or that the image lacks, are left out of the extremes, the profile and the count.
StarMeasure mesureEtoile(const QImage& image, int side, const QRect& onScreen);
// The same over every pixel of `image`.
StarMeasure mesureEtoile(const QImage& image, int side);

// The colour of the peak display: orange below 100, green to 200, red above.
TColor couleurPic(double IMax2);

// Takes one measurement of the square at (OrigX, OrigY) and shows it; returns
// the FWHM in screen pixels, kFwhmAbandon when the manual trigger is abandoned.
double CalculeFWHM(bool IsAutoFocus);
