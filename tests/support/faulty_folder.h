#pragma once
// A folder whose files fail as a failing disk does: served by a thread of the
// test through the kernel's FUSE device, so a read past a set point really
// fails with an input/output error, and the next sync can be interrupted
// (EINTR). Files are made, written, renamed and removed as in any folder.
//
// Mounting needs root and /dev/fuse: without them mounted() is false and
// whyNot() says why, for the test to skip itself.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class FaultyFolder {
 public:
  FaultyFolder();
  ~FaultyFolder();

  bool mounted() const;
  QString whyNot() const;
  QString path() const;
  QString filePath(const QString& name) const { return path() + QLatin1Char('/') + name; }

  // A read of the file past `readableBytes` fails with EIO (-1: none fails).
  void put(const QString& name, const QByteArray& bytes, qint64 readableBytes = -1);
  // The file's bytes as they stand, faults aside.
  QByteArray bytes(const QString& name) const;
  QStringList names() const;
  void interruptNextSync();

  struct Server;

 private:
  std::unique_ptr<Server> server_;
};
