#pragma once
// One running copy of the program per settings file: a second copy that
// started from the same folder would read the file, drive the same focuser
// and write its own values over the first copy's at its close.

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // Takes the lock for this process and keeps it for the life of the object;
  // false when another running process holds it. A process that ends in any
  // way, killed or crashed, leaves nothing behind that blocks the next start.
  virtual bool TryLock() = 0;
};
