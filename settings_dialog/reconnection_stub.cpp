// The driver connection lives in focuser/; until it is built in, the
// reconnection that the settings dialog's OK runs does nothing. The weak
// definition gives way to the real one.
#include "app/Unit1.h"

[[gnu::weak]] void TForm1::LitRegistre(bool) {}
