#include "app/Unit1.h"

// The intra/extra-focal method comes with its own change; until then choosing
// it moves nothing, and the launcher says the run was interrupted.
void TForm1::AutofocusIntraExtra() { xFinAutofocus = FinAutofocus::Interrompue; }
