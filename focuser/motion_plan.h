#pragma once
// How the motion routine reaches a target: full moves of the driver's largest
// move, then one last move of what remains (sent also when nothing remains).
#include <QtGlobal>
#include <initializer_list>

struct MovePlan {
  qint64 fullMoves = 0;  // number of full moves
  int chunk = 0;         // steps of each full move, signed: +largest move or -largest move
  int last = 0;          // steps of the last move, signed like `chunk`; may be 0
};

// The moves from `position` to `target` with moves of at most `maxIncrement`
// steps. A target exactly one largest move away is one move; a target below
// the position, or equal to it, is reached downwards. A `maxIncrement` below
// 1 cannot cut anything: the target is then reached in one move.
MovePlan planTarget(int position, int target, int maxIncrement);

// position + steps, held within the 32-bit range.
int addSteps(int position, qint64 steps);

// The product of `factors` as a step count (a speed setting times the step
// size, times a direction), held within the 32-bit range.
int stepProduct(std::initializer_list<int> factors);
