#include "platform/colors.h"

TColor ColorToRGB(TColor colour) {
  switch (colour) {
    case clWindow: return 0xFFFFFF;
    case clBtnFace: return 0xF0F0F0;
    case clInactiveCaptionText: return 0x544E43;
    default: return colour & 0xFFFFFF;
  }
}

QColor toQColor(TColor colour) {
  const TColor rgb = ColorToRGB(colour);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}
