#pragma once
// A panel: a plain area in the window's colour with up to two one-pixel
// bevels, the outer drawn along its border and the inner just inside it.
#include <QWidget>

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TPanel(QWidget* parent);
  TBevelCut BevelInner = TBevelCut::bvNone;
  TBevelCut BevelOuter = TBevelCut::bvRaised;

 protected:
  void paintEvent(QPaintEvent*) override;
};
