#include "measure/frame.h"

#include "app/Unit1.h"
#include "measure/fwhm.h"
#include "platform/application.h"
#include "platform/desktop.h"

void DessineRectangle(int X1, int Y1, int X2, int Y2, bool /*IsCentre*/) {
  // The canvas is freed when the window closes; an operation still under way
  // then draws nothing.
  if (!xCanvasBureau) return;
  xCanvasBureau->FrameRect(QRect(X1, Y1, X2 - X1, Y2 - Y1));
}

void DessineCadre(int X1, int Y1, int X2, int Y2, bool IsCentre) {
  if (!xHBureau || !xCanvasBureau || Application->Terminated()) return;
  const std::unique_ptr<DesktopDC> dc = xHBureau->GetWindowDC();
  // The saved block is the framed square with its border, at the current side.
  const int block = measuredSide(Form1->xTaille) + 2;
  if (IsFirstTime) {
    Form1->Image2->setPicture(dc->copy(QRect(X1, Y1, block, block)));
    IsFirstTime = false;
  } else {
    // Restore before saving, so the new block never holds the old frame.
    dc->paste(Form1->Image2->Picture(), QPoint(OldX, OldY));
    Form1->Image2->setPicture(dc->copy(QRect(X1, Y1, block, block)));
    Application->ProcessMessages();
  }
  OldX = X1;
  OldY = Y1;
  DessineRectangle(X1, Y1, X2, Y2, IsCentre);
}

void RecadreCarre(int side) {
  if (IsFirstTime || !Form1->Image2) return;
  const QRect framed(QPoint(OldX, OldY), Form1->Image2->Picture().size());
  const QRect frame(OrigX - 1, OrigY - 1, side + 2, side + 2);
  if (framed != frame) DessineCadre(frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1, false);
}

void RafraichitBureau() {
  if (xHBureau) xHBureau->repaint();
}
