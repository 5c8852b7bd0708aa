#pragma once
// The hand-over of an OK given while an operation was under way.

// Runs the hand-over that an OK kept back, once no operation is under way.
void handOverAfterOperation();

// The program closes while a hand-over waits: the values of its OK go into
// the record, so the settings file keeps them; nothing is reconnected.
void handOverAtClose();
