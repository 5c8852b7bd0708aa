#pragma once
// The red frame drawn straight onto the desktop around the measured square.

// Frames (X1, Y1, X2, Y2), right and bottom exclusive, with the desktop canvas.
void DessineRectangle(int X1, int Y1, int X2, int Y2, bool IsCentre);
// Moves the frame: puts back the block under the previous frame, saves the
// block under the new one, then frames it.
void DessineCadre(int X1, int Y1, int X2, int Y2, bool IsCentre);
// Moves the frame onto the square of side `side` at (OrigX, OrigY) when the
// frame drawn last framed another square (the side was changed in the
// settings since), so that no line of the old frame lies inside the square.
// Does nothing before the first frame or when the frame is already there.
void RecadreCarre(int side);
// Has the whole screen redrawn, which erases every frame.
void RafraichitBureau();
