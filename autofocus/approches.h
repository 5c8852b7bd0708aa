#pragma once
// The successive-approaches autofocus (TForm1::AutofocusApproches): the rules
// its loop decides by, and the mean of the measures taken at one position.
#include <QString>
#include <array>
#include <cstdint>

// The measures of one focuser position: measure i of a series is at [i - 1].
using TabDouble = std::array<double, 20>;

// The mean of the first `Nbre` values of `Tab` (at most 20); adds the sum,
// 3 significant digits and 2 decimals, "/" and the count to the debug memo.
double fMoyenne(TabDouble Tab, int Nbre);

// Measures per position: one with the manual trigger, else the setting, at
// most the 20 a series holds; 0 or less takes none.
int nombreDeMesures(int xNbMesures, bool xManuel);

// The multiple of the step size for the first two phases: the slow one in
// "Fin" mode or for a star already narrower than 6 pixels, else the fast one.
int multiplicateurDepart(double fwhmIni, const QString& modeFocus, int pasLent, int pasRapide);

// Two successive FWHMs differ by no more than `tolerance` percent of the new
// one: |100 - 100 x precedent / nouveau| <= tolerance.
bool dansTolerance(double precedent, double nouveau, int tolerance);

// The settle delay of `secondes` in milliseconds; a negative count waits nothing.
uint32_t delaiStabilisation(int secondes);
