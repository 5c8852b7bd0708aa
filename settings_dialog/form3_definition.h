#pragma once
class TForm3;
// The settings dialog's definition: every control at its place with its
// caption, hint, range, step and initial value.
void defineForm3(TForm3& form);
