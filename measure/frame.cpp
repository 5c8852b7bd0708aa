#include "measure/frame.h"

#include "app/Unit1.h"
#include "platform/desktop.h"

void RafraichitBureau() {
  if (xHBureau) xHBureau->repaint();
}
