#include "settings_dialog/form3_definition.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <iterator>

#include "platform/controls.h"
#include "platform/controls_dialog.h"
#include "resources/glyphs.h"
#include "settings_dialog/Unit3.h"

namespace {

// The autofocus methods, in the order of the values "Méthode" stores.
constexpr const char* kMethodes[] = {"Approches successives", "Moyenne intra/extra focale"};
static_assert(std::size(kMethodes) == rangeOf(&SettingsRecord::xMethode).high + 1, "a method without its item");

QGroupBox* groupBox(QWidget* parent, const QString& caption, int left, int top, int width, int height) {
  auto* g = new QGroupBox(caption, parent);
  g->setGeometry(left, top, width, height);
  return g;
}

TLabel* label(QWidget* parent, const QString& caption, int left, int top) {
  auto* l = new TLabel(caption, parent);
  l->move(left, top);
  l->adjustSize();
  return l;
}

QLineEdit* edit(QWidget* parent, int left, int top, int width, int height) {
  auto* e = new QLineEdit(parent);
  e->setGeometry(left, top, width, height);
  return e;
}

// An up-down of 15 x 21 pixels paired with its edit, offering the range of
// the setting it edits.
TUpDown* upDown(QWidget* parent, QLineEdit* associate, int left, int top, ValueRange range, int position) {
  auto* u = new TUpDown(parent, associate, range.low, range.high, 1, position);
  u->setGeometry(left, top, 15, 21);
  return u;
}

TBitBtn* bitBtn(QWidget* parent, const QString& caption, int left, int top, int width,
                TBitBtn::Kind kind = TBitBtn::Kind::Custom) {
  auto* b = new TBitBtn(parent, caption, kind);
  b->setGeometry(left, top, width, 25);
  return b;
}

TBitBtn* glyphBtn(QWidget* parent, const QString& caption, int top, GlyphKind glyph, const QString& hint) {
  TBitBtn* b = bitBtn(parent, caption, 463, top, 109);
  const Glyph g = makeGlyph(glyph);
  b->setGlyph(g.normal, g.disabled);
  b->setToolTip(hint);
  return b;
}

TLabeledEdit* limitBox(QWidget* parent, const QString& caption, int top, const QString& text) {
  auto* e = new TLabeledEdit(parent, caption, TLabeledEdit::LabelPosition::Above);
  e->place(6, top, 67, 21);
  e->setReadOnly(true);
  e->setText(text);
  return e;
}

TSpeedButton* learnButton(QWidget* parent, int left, int top, GlyphKind glyph) {
  auto* b = new TSpeedButton(parent);
  b->setGeometry(left, top, 23, 22);
  const Glyph g = makeGlyph(glyph);
  b->setGlyph(g.normal, g.disabled);
  return b;
}

}  // namespace

void defineForm3(TForm3& f) {
  f.setWindowTitle(QStringLiteral("Trevast - Paramétrage"));
  // A tool window: small caption bar with a close box only, not sizeable.
  f.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  f.setFixedSize(579, 273);
  f.setFont(pixelFont(kSansFamily, 11));
  QPalette face = f.palette();
  face.setColor(QPalette::Window, toQColor(clBtnFace));
  f.setPalette(face);

  f.GroupeMoteurMAP = groupBox(&f, QStringLiteral(" Moteur MAP "), 6, 6, 103, 97);
  f.BoutonSelection = bitBtn(f.GroupeMoteurMAP, QStringLiteral("Sélection"), 12, 24, 75);
  f.Button1 = new QPushButton(QStringLiteral("Paramètres"), f.GroupeMoteurMAP);
  f.Button1->setGeometry(12, 54, 75, 25);

  f.GroupBox2 = groupBox(&f, QStringLiteral(" Délais "), 114, 6, 169, 97);
  f.Delai_Autofocus =
      new TLabeledEdit(f.GroupBox2, QStringLiteral("Autofocus/Suivi (sec)"), TLabeledEdit::LabelPosition::Left);
  f.Delai_Autofocus->place(112, 24, 27, 21);
  f.UpDown2 = upDown(f.GroupBox2, f.Delai_Autofocus, 139, 24, rangeOf(&SettingsRecord::xDelaiAutofocus), 3);
  const QString delaiHint = QStringLiteral("Délai entre poses pour l'autofocus ou le suivi de la MAP");
  f.Delai_Autofocus->setToolTip(delaiHint);
  f.UpDown2->setToolTip(delaiHint);

  f.GroupBox3 = groupBox(&f, QStringLiteral(" Autofocus "), 288, 6, 157, 211);
  f.Label1 = label(f.GroupBox3, QStringLiteral("Tolérance (%)"), 6, 24);
  f.Label2 = label(f.GroupBox3, QStringLiteral("Mode lent (pas)"), 6, 48);
  f.Label3 = label(f.GroupBox3, QStringLiteral("Mode rapide"), 6, 72);
  f.Label6 = label(f.GroupBox3, QStringLiteral("Nbre de mesures"), 6, 96);
  f.Label4 = label(f.GroupBox3, QStringLiteral("Méthode utilisée"), 6, 120);
  f.Tolerance = edit(f.GroupBox3, 96, 18, 20, 21);
  f.UpDown1 = upDown(f.GroupBox3, f.Tolerance, 116, 18, rangeOf(&SettingsRecord::xTolerance), 2);
  const QString toleranceHint =
      QStringLiteral("Variation autorisée avant de corriger la MAP (par rapport à la première mesure)");
  f.Tolerance->setToolTip(toleranceHint);
  f.UpDown1->setToolTip(toleranceHint);
  f.PasLent = edit(f.GroupBox3, 96, 42, 20, 21);
  f.UpDownLent = upDown(f.GroupBox3, f.PasLent, 116, 42, rangeOf(&SettingsRecord::xPasLent), 2);
  const QString lentHint = QStringLiteral("Nombre de pas pour les déplacements lents lors de l'autofocus");
  f.PasLent->setToolTip(lentHint);
  f.UpDownLent->setToolTip(lentHint);
  f.PasRapide = edit(f.GroupBox3, 96, 66, 20, 21);
  f.UpDownRapide = upDown(f.GroupBox3, f.PasRapide, 116, 66, rangeOf(&SettingsRecord::xPasRapide), 4);
  const QString rapideHint = QStringLiteral("Vitesse rapide = N x Vitesse Lente");
  f.Label3->setToolTip(rapideHint);
  f.PasRapide->setToolTip(rapideHint);
  f.UpDownRapide->setToolTip(rapideHint);
  f.EditMesures = edit(f.GroupBox3, 96, 90, 20, 21);
  f.UpDownMesures = upDown(f.GroupBox3, f.EditMesures, 116, 90, rangeOf(&SettingsRecord::xNbMesures), 2);
  f.ComboBox1 = new QComboBox(f.GroupBox3);
  f.ComboBox1->setGeometry(6, 136, 145, 21);
  f.ComboBox1->setEditable(false);
  f.ComboBox1->setFont(pixelFont(kNarrowSansFamily, 11));  // the longer method's name needs it
  for (const char* methode : kMethodes) f.ComboBox1->addItem(QString::fromUtf8(methode));
  f.ComboBox1->setCurrentIndex(0);
  f.Label5 = label(f.GroupBox3, QStringLiteral("FWHM cible"), 24, 162);
  f.MaskEdit1 = edit(f.GroupBox3, 90, 158, 28, 21);
  f.MaskEdit1->setText(QStringLiteral("1.20"));
  // A target below 100 shows whole in the 28 pixels of the box: two digits,
  // the separator and two decimals, in the narrow cut and a pixel nearer the
  // frame on each side; wider, the edit would scroll its first digit away.
  f.MaskEdit1->setFont(pixelFont(kNarrowSansFamily, 11));
  f.MaskEdit1->setTextMargins(-1, 0, -1, 0);
  f.IsManuel = new QCheckBox(QStringLiteral("Déclenchement manuel"), f.GroupBox3);
  f.IsManuel->setGeometry(6, 186, 139, 17);
  f.IsManuel->setLayoutDirection(Qt::RightToLeft);  // the text on the left of the box
  f.IsManuel->setChecked(false);

  f.GroupeApprentissage = groupBox(&f, QStringLiteral(" Apprentissage "), 6, 108, 139, 157);
  f.LimiteBasse = limitBox(f.GroupeApprentissage, QStringLiteral("Limite intra"), 36, QStringLiteral("0"));
  f.LimiteHaute = limitBox(f.GroupeApprentissage, QStringLiteral("Limite extra"), 78, QStringLiteral("99999"));
  f.PointDeMap = limitBox(f.GroupeApprentissage, QStringLiteral("MAP"), 120, QStringLiteral("0"));
  f.ValideLimiteBasse = learnButton(f.GroupeApprentissage, 78, 36, GlyphKind::Learn);
  f.EffaceLimiteBasse = learnButton(f.GroupeApprentissage, 108, 36, GlyphKind::Clear);
  f.ValideLimiteHaute = learnButton(f.GroupeApprentissage, 78, 78, GlyphKind::Learn);
  f.EffaceLimiteHaute = learnButton(f.GroupeApprentissage, 108, 78, GlyphKind::Clear);
  f.ValideMAP = learnButton(f.GroupeApprentissage, 78, 120, GlyphKind::Learn);
  f.EffaceMAP = learnButton(f.GroupeApprentissage, 108, 120, GlyphKind::Clear);

  f.GroupBox5 = groupBox(&f, QStringLiteral(" Divers "), 150, 108, 133, 85);
  f.Label7 = label(f.GroupBox5, QStringLiteral("Taille fenêtre (pixels)"), 6, 18);
  f.Shape1 = new TShape(f.GroupBox5);
  f.Shape1->setGeometry(12, 36, 20, 20);
  constexpr ValueRange taille = rangeOf(&SettingsRecord::xTaille);
  f.SpinEdit1 = new TSpinEdit(f.GroupBox5, taille.low, taille.high, 2, 20);
  f.SpinEdit1->setGeometry(72, 36, 49, 22);

  f.BoutonOK = bitBtn(&f, QStringLiteral("OK"), 496, 24, 75, TBitBtn::Kind::OK);
  f.BoutonOK->setDefault(true);
  f.BitBtn3 = bitBtn(&f, QStringLiteral("Annuler"), 496, 60, 75, TBitBtn::Kind::Cancel);
  f.BitBtn4 = glyphBtn(&f, QStringLiteral("Sauvegarde"), 182, GlyphKind::SaveProfile,
                       QStringLiteral("Sauvegarde de la configuration en cours"));
  f.BitBtn5 = glyphBtn(&f, QStringLiteral("Récupération"), 212, GlyphKind::LoadProfile,
                       QStringLiteral("Récupération de configuration sauvegardée"));
  f.BitBtn6 = glyphBtn(&f, QStringLiteral("A propos..."), 242, GlyphKind::About, QString());

  f.Edit1 = new QLineEdit(&f);
  f.Edit1->hide();

  f.SaveDialog1.title = QStringLiteral("Sauvegarde des paramètres");
  f.SaveDialog1.filter = QStringLiteral("Fichiers Trevast (*.trv)|*.trv");
  f.SaveDialog1.defaultExt = QStringLiteral("trv");
  f.SaveDialog1.overwritePrompt = true;
  f.OpenDialog1.filter = f.SaveDialog1.filter;
  f.OpenDialog1.defaultExt = f.SaveDialog1.defaultExt;
}
