#pragma once
#include <QByteArray>
#include <QString>

#include "platform/instance_lock.h"

// The lock is the kernel's lock on the settings file's folder itself: it goes
// with the process that holds it, however that process ends, and it needs no
// file of its own, so it also holds in a folder the program cannot write.
// The settings file is no fit: each save replaces it by another file.
class FolderInstanceLock : public InstanceLock {
 public:
  explicit FolderInstanceLock(const QString& folder);
  ~FolderInstanceLock() override;
  FolderInstanceLock(const FolderInstanceLock&) = delete;
  FolderInstanceLock& operator=(const FolderInstanceLock&) = delete;

  // Only system calls: a child forked from a program with threads may call it.
  bool TryLock() override;

 private:
  QByteArray path_;
  int fd_ = -1;
};
