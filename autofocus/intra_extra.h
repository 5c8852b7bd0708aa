#pragma once
// The intra/extra-focal autofocus (TForm1::AutofocusIntraExtra): the rules
// its walk decides by.

// The walk through focus takes at most this many steps; a star that keeps
// narrowing or stays below the reference so long is no longer followed.
constexpr int kPasDeMarcheMaximal = 100;

// The move from `Pos2`, where the walk ended, back to the midpoint of `Pos1`,
// where the reference was measured, and `Pos2`: half the span, truncated
// toward zero (a span of -7 gives +3).
int retourAuMilieu(int Pos1, int Pos2);

// A move of `pas` steps from `position` would end beyond a set travel limit
// in its own sense (0 for the lower and 99999 for the upper limit mean none).
// A position already beyond a limit may still move back toward it.
bool depasseLimite(int position, int pas, int limiteBasse, int limiteHaute);
