#pragma once
// The rules of the learnt limits and focus position, apart from the dialog.
#include <QString>

#include "platform/colors.h"

struct Limites {
  int basse;
  int haute;
};

// The limits after learning the lower one at `position`: an upper limit below
// it, "none" included, is raised to it; equal limits are allowed.
Limites apprendLimiteBasse(int position, int limiteHaute);

// An upper limit is learnt only strictly above the lower one, as stored (with
// no lower limit, 0, the position must be at least 1).
bool accepteLimiteHaute(int position, int limiteBasse);

// The colour of a learning box: the window colour when it shows exactly its
// sentinel text, light green otherwise.
TColor couleurBoite(const QString& text, int sentinelle);
