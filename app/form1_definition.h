#pragma once
class TForm1;
// The main window's definition: every control at its place with its caption,
// hint and state at load.
void defineForm1(TForm1& form);
