#pragma once
// The state the autofocus tests start from: a linked relative driver that
// records its moves (so Move receives the step counts), picking on, slow
// steps of 2 x 5, fast steps of 2 x 3 x 5, tolerance 0, one measure per
// position, a comma as decimal separator.
#include <memory>

#include "fake_ascom.h"

class TForm1;

void prepareAutofocus(TForm1& form, const std::shared_ptr<RecordingFocuser>& driver);
