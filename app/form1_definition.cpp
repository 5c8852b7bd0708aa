#include "app/form1_definition.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>

#include "app/Unit1.h"
#include "resources/glyphs.h"
#include "resources/pictures.h"

namespace {

TSpeedButton* speedButton(QWidget* parent, int left, int top, GlyphKind glyph, const QString& hint,
                          bool enabled, int width = 23) {
  auto* b = new TSpeedButton(parent);
  b->setGeometry(left, top, width, 22);
  const Glyph g = makeGlyph(glyph);
  b->setGlyph(g.normal, g.disabled);
  b->setToolTip(hint);
  b->setEnabled(enabled);
  return b;
}

TLabel* label(QWidget* parent, const QString& caption, int left, int top, int width, int height) {
  auto* l = new TLabel(caption, parent);
  l->setGeometry(left, top, width, height);
  return l;
}

// A small chart without title, legend or margins.
QChartView* smallChart(QWidget* parent, int left, int top) {
  auto* chart = new QChart();
  chart->legend()->hide();
  chart->setMargins(QMargins(0, 0, 0, 0));
  chart->setBackgroundRoundness(0);
  chart->layout()->setContentsMargins(0, 0, 0, 0);
  auto* view = new QChartView(chart, parent);
  view->setGeometry(left, top, 97, 61);
  view->setFrameShape(QFrame::NoFrame);
  return view;
}

QLineSeries* addSeries(QChartView* view, QColor colour) {
  auto* series = new QLineSeries(view->chart());
  series->setColor(colour);
  view->chart()->addSeries(series);
  return series;
}

// The FWHM history: a green line with small dots over the tiled background
// picture, nothing along the bottom axis, the values along the left one.
// Shown, it covers the brightness profile, whose star the thumbnail and the
// readouts still show, and leaves the autofocus labels of a run that
// interrupts tracking clear.
void defineHistoryChart(TForm1& f) {
  f.Chart2 = smallChart(&f, 66, 3);
  QChart* chart = f.Chart2->chart();
  const DecodedJpeg fond = resources::historyBackground();
  if (fond.image.isNull())
    f.Memo1->Add(resources::unreadablePictureLine(QStringLiteral("Chart2"), fond.error));
  else
    chart->setBackgroundBrush(QBrush(QPixmap::fromImage(fond.image)));  // a picture brush tiles
  f.Series4 = addSeries(f.Chart2, toQColor(clGreen));
  f.Series4->setPointsVisible(true);
  f.Series4->setMarkerSize(2);
  auto* bottom = new QValueAxis;
  bottom->setLabelsVisible(false);
  // The left axis's labels are the program's own (measure/tracking.cpp);
  // its grid lines fall on their graduations.
  auto* left = new QValueAxis;
  left->setLabelsVisible(false);
  left->setTickType(QValueAxis::TicksDynamic);
  chart->addAxis(bottom, Qt::AlignBottom);
  chart->addAxis(left, Qt::AlignLeft);
  f.Series4->attachAxis(bottom);
  f.Series4->attachAxis(left);
  f.Chart2->hide();
}

}  // namespace

void defineForm1(TForm1& f) {
  f.setWindowTitle(QStringLiteral("Trevast"));
  f.setFont(pixelFont(kSansFamily, 11));
  QPalette face = f.palette();
  face.setColor(QPalette::Window, toQColor(clBtnFace));
  f.setPalette(face);
  f.move(563, 163);
  f.setFixedSize(167, 423);

  f.Shape1 = new TShape(&f);
  f.Shape1->setGeometry(5, 5, 54, 54);
  f.Shape1->setBrushColor(clInactiveCaptionText);
  f.Image1 = new TImage(&f);
  f.Image1->setGeometry(12, 12, 40, 40);
  f.Image1->Center = true;

  f.Chart1 = smallChart(&f, 66, 3);
  f.Series1 = addSeries(f.Chart1, Qt::red);
  f.Series2 = addSeries(f.Chart1, QColor(0, 128, 0));
  // The profile and the half level share one pair of bare axes, so the green
  // line crosses the red one where the star is half as bright as its peak.
  for (auto [axis, side] : {std::pair<QValueAxis*, Qt::Alignment>{new QValueAxis, Qt::AlignBottom},
                            std::pair<QValueAxis*, Qt::Alignment>{new QValueAxis, Qt::AlignLeft}}) {
    axis->setLabelsVisible(false);
    axis->setGridLineVisible(false);
    f.Chart1->chart()->addAxis(axis, side);
    f.Series1->attachAxis(axis);
    f.Series2->attachAxis(axis);
  }

  f.BoutonCapture = speedButton(&f, 6, 66, GlyphKind::Tracking, QStringLiteral("Suivi du FWHM"), false);
  f.BoutonStopCapture =
      speedButton(&f, 30, 66, GlyphKind::StopTracking, QStringLiteral("Arrêt du suivi FWHM"), false);

  f.LabelFWHM = new TLabeledEdit(&f, QStringLiteral("FWHM"), TLabeledEdit::LabelPosition::Left);
  f.LabelFWHM->place(114, 72, 37, 21);
  f.LabelFWHM->setReadOnly(true);

  f.CheckBox1 = new QCheckBox(QStringLiteral("On/off"), &f);
  f.CheckBox1->setGeometry(6, 96, 55, 17);
  f.CheckBox1->setToolTip(QStringLiteral("Active/désactive la sélection d'étoile avec la souris"));

  f.LabelIntMax = new TLabeledEdit(&f, QStringLiteral("Int Max"), TLabeledEdit::LabelPosition::Left);
  f.LabelIntMax->place(114, 96, 37, 21);

  f.BoutonAutofocus = speedButton(&f, 6, 120, GlyphKind::Autofocus, QStringLiteral("Lance l'autofocus"), false);
  f.BoutonSetup = speedButton(&f, 36, 120, GlyphKind::Setup, QStringLiteral("Ouvre la fenêtre de paramétrage"), true);

  f.LabelMesure = label(&f, QStringLiteral("Mesure"), 72, 120, 85, 13);
  f.LabelMesure->setFont(pixelFont(kSansFamily, 11, true));
  f.LabelMesure->setFontColor(clGreen);
  f.LabelMesure->hide();
  f.Label1 = label(&f, QString(), 72, 132, 85, 13);
  f.Label1->setFont(pixelFont(kSansFamily, 11, true));
  f.Label1->setFontColor(clGreen);

  f.BoutonRappelMAP =
      speedButton(&f, 6, 144, GlyphKind::Recall, QStringLiteral("Rappel de la position de MAP"), false);

  f.LabelChrono = label(&f, QStringLiteral("00:00"), 72, 150, 68, 25);
  f.LabelChrono->setFont(pixelFont(kBroadSansFamily, 21, true));
  f.LabelChrono->setFontColor(clGreen);
  f.LabelChrono->hide();

  f.BoutonAVRapide = speedButton(&f, 6, 168, GlyphKind::FastForward, QStringLiteral("Avance rapide du moteur"), false);
  f.BoutonRERapide = speedButton(&f, 36, 168, GlyphKind::FastBack, QStringLiteral("Retour rapide du moteur"), false);
  f.GoLimiteBasse = speedButton(&f, 6, 192, GlyphKind::LowerLimit,
                                QStringLiteral("Aller en position \"Limite basse\""), false);
  f.GoLimiteHaute = speedButton(&f, 36, 192, GlyphKind::UpperLimit,
                                QStringLiteral("Aller en position \"Limite haute\""), false);
  f.BoutonAVLent = speedButton(&f, 78, 192, GlyphKind::SlowForward, QStringLiteral("Avance lente du moteur"), true);
  f.BoutonRELent = speedButton(&f, 108, 192, GlyphKind::SlowBack, QStringLiteral("Retour lent du moteur"), true);
  f.BoutonSTOP = speedButton(&f, 6, 216, GlyphKind::Stop,
                             QStringLiteral("Arrête le moteur du focuser et/ou l'autofocus"), true, 55);
  f.BoutonSTOP->setText(QStringLiteral("STOP"));
  f.BoutonSTOP->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

  f.LabelAscom = label(&f, QStringLiteral("ASCOM"), 66, 222, 44, 13);
  f.LabelAscom->setFont(pixelFont(kSansFamily, 11, true));

  f.EditFocuser = new TLabeledEdit(&f, QStringLiteral("Moteur MAP"), TLabeledEdit::LabelPosition::Above);
  f.EditFocuser->place(6, 258, 121, 21);
  f.EditFocuser->setReadOnly(true);
  f.BoutonFocuserConnect = speedButton(&f, 132, 258, GlyphKind::Connect,
                                       QStringLiteral("Connecte/Déconnecte le moteur de MAP"), true);

  f.BarrePO = new TGauge(&f);
  f.BarrePO->setGeometry(6, 282, 109, 19);
  f.BarrePO->setToolTip(QStringLiteral("Position du tube PO par rapport aux limites"));
  f.BarrePO->setForeColor(clNavy);
  f.BarrePO->setBackColor(clWhite);
  f.BarrePO->setRange(0, 50000);
  f.BarrePO->setProgress(0);
  f.LabelPosition = label(&f, QString(), 120, 288, 37, 13);

  f.ShowLog = new QCheckBox(QStringLiteral("Afficher Log"), &f);
  f.ShowLog->setGeometry(6, 306, 97, 17);
  f.BoutonResetPos =
      speedButton(&f, 138, 306, GlyphKind::ResetPosition, QStringLiteral("Remet la position du focuser à 0"), true);
  f.BoutonResetPos->hide();

  f.MemoLog = new TMemo(&f);
  f.MemoLog->setGeometry(0, 330, 163, 89);
  f.MemoLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  f.MemoLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  f.MemoLog->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // The debug memo lies right of the client area, where it is never seen.
  f.Memo1 = new TMemo(&f);
  f.Memo1->setGeometry(210, 12, 319, 259);
  f.Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  f.Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  f.Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

  f.Image2 = new TImage(&f);
  f.Image2->hide();

  defineHistoryChart(f);  // last, so that it lies above the profile chart

  f.TimerSouris = new TTimer(&f, 100);
  f.TimerSuivi = new TTimer(&f, 1000);
  f.TimerMarron = new TTimer(&f, 500);
  f.TimerTrackBar = new TTimer(&f, 250);
  f.Timer1 = new TTimer(&f, 1000);
}
