#pragma once
// The button glyphs, drawn by the program: each a 16 x 16 image and its greyed
// image for the disabled state.
#include <QPixmap>

struct Glyph {
  QPixmap normal;
  QPixmap disabled;
};

enum class GlyphKind {
  FastForward, FastBack, SlowForward, SlowBack,   // focuser moves
  LowerLimit, UpperLimit, Recall, Stop, Connect, ResetPosition,
  Tracking, StopTracking, Autofocus, Setup,
  SaveProfile, LoadProfile, About, Learn, Clear,  // settings dialog
};

Glyph makeGlyph(GlyphKind kind);
