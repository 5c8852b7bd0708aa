#pragma once
// The version block carried by the executable, and the query of one of its
// values by path, as "\StringFileInfo\040C04E4\FileVersion".
//
// The block is text, one value per line: "<path>=<text>", the path without its
// leading backslash; blank lines and lines starting with '#' are ignored.
#include <QByteArray>
#include <QString>

class VersionSource {
 public:
  virtual ~VersionSource() = default;
  // The version block of the running program; empty when it carries none.
  virtual QByteArray block() const = 0;
};

// A block handed over by its owner: the program block gives the one compiled
// into the program's resources, a test its own.
class FixedVersionSource : public VersionSource {
 public:
  explicit FixedVersionSource(QByteArray block) : block_(std::move(block)) {}
  QByteArray block() const override { return block_; }

 private:
  QByteArray block_;
};

// The value at `path`, or false when the block lacks it. Paths compare without
// regard to letter case.
bool queryVersionValue(const QByteArray& block, const QString& path, QString& value);
