#include "app/Unit1.h"

void TForm1::wireFocuserEvents() {}

void TForm1::FirstShowFocuser() {}
