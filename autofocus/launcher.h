#pragma once
// The report that ends every click of "Lance l'autofocus".
#include <QString>

#include "app/Unit1.h"

// The box the ASCOM utility shows: its text, icon flag and caption.
struct BoiteAutofocus {
  QString texte;
  int icone = 0;
  QString titre;
};

// The report of a run that ended as `fin`: a run that did not start says why,
// one that was interrupted gives the reason it stopped for, when nobody
// stopped it (`raison`), and its last real measure when it took one.
BoiteAutofocus boiteFinAutofocus(FinAutofocus fin, bool sortieTolerance, bool mesure, double fwhm,
                                 const QString& raison = {});
