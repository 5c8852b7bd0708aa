#include "platform/instance_lock_folder.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderInstanceLock::FolderInstanceLock(const QString& folder) : path_(QFile::encodeName(folder)) {}

FolderInstanceLock::~FolderInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool FolderInstanceLock::TryLock() {
  if (fd_ >= 0) return true;
  const int fd = ::open(path_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that cannot be opened cannot be shared either: the start goes on,
  // and the settings file says for itself whether it can be read.
  if (fd < 0) return true;
  int result;
  do result = ::flock(fd, LOCK_EX | LOCK_NB);
  while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    ::close(fd);
    // Only a lock held elsewhere refuses the start; a file system that keeps
    // no locks lets every copy start, as before.
    return error != EWOULDBLOCK;
  }
  fd_ = fd;
  return true;
}
