// The autofocus button: runs the method chosen in the settings, then reports
// how the run ended in a box of the ASCOM utility.
#include "autofocus/launcher.h"

#include "platform/application.h"
#include "platform/number_format.h"

namespace {

constexpr int kIconeAvertissement = 48;
constexpr int kIconeInformation = 64;
// The platform's boxes break lines with LF then CR.
const QString kSautDeLigne = QStringLiteral("\n\r");

QString ligneFwhm(double fwhm) { return kSautDeLigne + QStringLiteral("FWHM mesuré = ") + numfmt::Fixed3(fwhm, 1); }

}  // namespace

BoiteAutofocus boiteFinAutofocus(FinAutofocus fin, bool sortieTolerance, bool mesure, double fwhm,
                                 const QString& raison) {
  const QString autofocus = QStringLiteral("Autofocus");
  const QString information = QStringLiteral("Information");
  switch (fin) {
    case FinAutofocus::MoteurNonConnecte:
      return {QStringLiteral("Autofocus non lancé : le moteur de MAP n'est pas connecté."), kIconeAvertissement,
              autofocus};
    case FinAutofocus::SelectionDesactivee:
      return {QStringLiteral("Autofocus non lancé : la sélection d'étoile (On/off) est désactivée."),
              kIconeAvertissement, autofocus};
    case FinAutofocus::PasFocuserNul:
      return {QStringLiteral("Autofocus non lancé : le pas du focuser est nul."), kIconeAvertissement, autofocus};
    case FinAutofocus::PasLentNul:
      return {QStringLiteral("Autofocus non lancé : le pas lent (Mode lent) est nul."), kIconeAvertissement, autofocus};
    case FinAutofocus::PasRapideNul:
      return {QStringLiteral("Autofocus non lancé : le pas rapide (Mode rapide) est nul."), kIconeAvertissement,
              autofocus};
    case FinAutofocus::Interrompue:
      return {QStringLiteral("Autofocus interrompu.") + (raison.isEmpty() ? QString() : kSautDeLigne + raison) +
                  (mesure ? ligneFwhm(fwhm) : QString()),
              kIconeInformation, information};
    case FinAutofocus::Echouee:
      // The FWHM measured before the lost move belongs to no known position.
      return {raison, kIconeAvertissement, autofocus};
    case FinAutofocus::Terminee:
      break;
  }
  const QString premiere = sortieTolerance
                               ? QStringLiteral("Autofocus terminé sur variation inférieure à la tolérance.")
                               : QStringLiteral("Autofocus terminé.");
  return {premiere + ligneFwhm(fwhm), kIconeInformation, information};
}

void TForm1::wireAutofocusEvents() {
  connect(BoutonAutofocus, &QToolButton::clicked, this, [this] { guarded([this] { BoutonAutofocusClick(); }); });
}

void TForm1::BoutonAutofocusClick() {
  // Served inside the waits of a run or a move, a click starts nothing there.
  if (OperationUnderWay() || Application->Terminated()) return;
  xSortieTolerance = false;
  xFinAutofocus = FinAutofocus::Terminee;
  xAutofocusMesure = false;
  xRaisonFinAutofocus.clear();
  if (xMethode == 0)
    AutofocusApproches();
  else
    AutofocusIntraExtra();
  if (Application->Terminated()) return;  // closing: no box
  Label1->setText(QString());
  const AutomationRef M = platform_.com.CreateOleObject(QStringLiteral("DriverHelper.Util"));
  const BoiteAutofocus boite =
      boiteFinAutofocus(xFinAutofocus, xSortieTolerance, xAutofocusMesure, fwhm_test, xRaisonFinAutofocus);
  QString Mess = boite.texte;
  M.call(QStringLiteral("MessageBox"),
         {{Mess, Passing::Reference}, {boite.icone, Passing::Value}, {boite.titre, Passing::Value}});
}
