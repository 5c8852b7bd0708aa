#include "platform/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/cp1252.h"
#include "platform/exception.h"

namespace {

bool sameName(const QByteArray& a, const QString& b) {
  return cp1252::decode(a).compare(b, Qt::CaseInsensitive) == 0;
}

// The name of a "[name]" line, or false when the line opens no section.
bool sectionName(const QByteArray& line, QByteArray& name) {
  const QByteArray t = line.trimmed();
  if (!t.startsWith('[')) return false;
  const int close = t.indexOf(']');
  if (close < 0) return false;
  name = t.mid(1, close - 1).trimmed();
  return true;
}

bool isBlank(const QByteArray& line) { return line.trimmed().isEmpty(); }

}  // namespace

IniDocument::IniDocument(const QByteArray& bytes) {
  // Some editors begin a file with a UTF-8 mark: it is no part of the first
  // line, whose section would not be found behind it.
  static const QByteArray kUtf8Mark("\xEF\xBB\xBF");
  if (bytes.startsWith(kUtf8Mark)) mark_ = kUtf8Mark;
  bool eolSeen = false;
  qsizetype start = mark_.size();
  while (start < bytes.size()) {
    const qsizetype nl = bytes.indexOf('\n', start);
    if (nl < 0) {
      lines_.push_back({bytes.mid(start), {}});
      break;
    }
    QByteArray text = bytes.mid(start, nl - start);
    const bool cr = text.endsWith('\r');
    if (cr) text.chop(1);
    if (!eolSeen) {
      crlf_ = cr;
      eolSeen = true;
    }
    lines_.push_back({text, cr ? QByteArray("\r\n") : QByteArray("\n")});
    start = nl + 1;
  }
}

int IniDocument::findSection(const QString& section) const {
  QByteArray name;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (sectionName(lines_[i].text, name) && sameName(name, section)) return static_cast<int>(i);
  return -1;
}

int IniDocument::sectionEnd(int headerLine) const {
  QByteArray name;
  size_t i = headerLine + 1;
  while (i < lines_.size() && !sectionName(lines_[i].text, name)) ++i;
  return static_cast<int>(i);
}

int IniDocument::findKey(int headerLine, const QString& key) const {
  const int end = sectionEnd(headerLine);
  for (int i = headerLine + 1; i < end; ++i) {
    const QByteArray& t = lines_[i].text;
    const int eq = t.indexOf('=');
    if (eq >= 0 && sameName(t.left(eq).trimmed(), key)) return i;
  }
  return -1;
}

bool IniDocument::hasKey(const QString& section, const QString& key) const {
  const int header = findSection(section);
  return header >= 0 && findKey(header, key) >= 0;
}

QString IniDocument::ReadString(const QString& section, const QString& key, const QString& def) const {
  const int header = findSection(section);
  const int line = header < 0 ? -1 : findKey(header, key);
  if (line < 0) return def;
  const QByteArray& t = lines_[line].text;
  QByteArray value = t.mid(t.indexOf('=') + 1).trimmed();
  // Like the platform, a value between matching quotes is read without them.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.mid(1, value.size() - 2);
  return cp1252::decode(value.left(kMaxValueLength));
}

bool parseIniInteger(const QString& raw, int& value) {
  QString text = raw.trimmed();
  bool negative = false;
  if (text.startsWith('-') || text.startsWith('+')) {
    negative = text.startsWith('-');
    text.remove(0, 1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove(0, 2);
  } else if (text.startsWith('$')) {
    base = 16;
    text.remove(0, 1);
  }
  if (text.isEmpty()) return false;
  qint64 magnitude = 0;
  for (QChar c : text) {
    const char16_t u = c.unicode();
    int digit = -1;
    if (u >= '0' && u <= '9') digit = u - '0';
    else if (base == 16 && u >= 'a' && u <= 'f') digit = u - 'a' + 10;
    else if (base == 16 && u >= 'A' && u <= 'F') digit = u - 'A' + 10;
    if (digit < 0) return false;
    magnitude = magnitude * base + digit;
    if (magnitude > 0xFFFFFFFFLL) return false;
  }
  if (base == 16) {
    // Hexadecimal spells the 32 bits themselves: $FFFFFFFF is -1.
    const qint32 bits = static_cast<qint32>(static_cast<quint32>(magnitude));
    value = negative ? -bits : bits;
    return true;
  }
  const qint64 signedValue = negative ? -magnitude : magnitude;
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return false;
  value = static_cast<int>(signedValue);
  return true;
}

int IniDocument::ReadInteger(const QString& section, const QString& key, int def) const {
  int value = 0;
  return parseIniInteger(ReadString(section, key, QString()), value) ? value : def;
}

void IniDocument::WriteString(const QString& section, const QString& key, const QString& value) {
  const QByteArray keyLine = cp1252::encode(key) + '=' + cp1252::encode(value);
  const int header = findSection(section);
  if (header < 0) {
    insertLine(static_cast<int>(lines_.size()), '[' + cp1252::encode(section) + ']');
    insertLine(static_cast<int>(lines_.size()), keyLine);
    return;
  }
  const int line = findKey(header, key);
  if (line >= 0) {
    // Keep the name as the file spells it and the blanks around '='.
    QByteArray& t = lines_[line].text;
    qsizetype valueStart = t.indexOf('=') + 1;
    while (valueStart < t.size() && (t[valueStart] == ' ' || t[valueStart] == '\t')) ++valueStart;
    t = t.left(valueStart) + cp1252::encode(value);
    return;
  }
  int insertAt = sectionEnd(header);
  while (insertAt > header + 1 && isBlank(lines_[insertAt - 1].text)) --insertAt;
  insertLine(insertAt, keyLine);
}

void IniDocument::insertLine(int at, const QByteArray& text) {
  // A last line without a line ending gets one before a line follows it.
  if (at > 0 && lines_[at - 1].eol.isEmpty()) lines_[at - 1].eol = newEol();
  lines_.insert(lines_.begin() + at, {text, newEol()});
}

void IniDocument::WriteInteger(const QString& section, const QString& key, int value) {
  WriteString(section, key, QString::number(value));
}

QByteArray IniDocument::bytes() const {
  QByteArray out = mark_;
  for (const Line& line : lines_) out += line.text + line.eol;
  return out;
}

QString iniReadError(const QString& path) { return QStringLiteral("Impossible de lire %1").arg(path); }
QString iniWriteError(const QString& path) { return QStringLiteral("Impossible d'écrire dans %1").arg(path); }

namespace {

// The whole content of a regular file, or false when any read fails. An
// interrupted read is asked again; the file is opened without waiting, in case
// a pipe has taken its place since it was looked at.
bool readWhole(const QString& path, QByteArray& bytes) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool whole = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  char buffer[64 * 1024];
  while (whole) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0 && errno != EINTR) whole = false;
    if (n > 0) bytes.append(buffer, n);
  }
  ::close(fd);
  return whole;
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {
  // Only a file that is not there reads as empty and may be made; one that
  // is there but cannot be read whole is refused, and never replaced by the
  // few lines that were read.
  struct stat st {};
  if (::stat(QFile::encodeName(path_).constData(), &st) != 0) {
    absent_ = errno == ENOENT || errno == ENOTDIR;
    refused_ = !absent_;
    return;
  }
  // Opening a pipe waits for a writer and opening a device may act on it:
  // only a regular file is opened.
  QByteArray bytes;
  refused_ = !S_ISREG(st.st_mode) || !readWhole(path_, bytes);
  if (!refused_) doc_ = IniDocument(bytes);
}

namespace {

// A sync the system interrupts (a signal came) has not failed: it is asked again.
int syncToDisk(int fd) {
  int result;
  do result = ::fsync(fd);
  while (result != 0 && errno == EINTR);
  return result;
}

// The new name of a replaced file lasts once its folder is on the disk. The
// file already holds its whole new text here, so a folder that cannot be
// synced (some file systems refuse it) does not make the write a failure.
void syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  syncToDisk(fd);
  ::close(fd);
}

}  // namespace

void IniFile::UpdateFile() {
  // A file that could not be read whole would lose what was not read; a
  // folder, a pipe or a device at the path is the user's, not ours to replace.
  const QFileInfo info(path_);
  if (refused_ || (info.exists() && !info.isFile())) throw Exception(iniWriteError(path_));
  // No writing in place: a crash or a full disk halfway would cut the file.
  QSaveFile file(path_);
  const QByteArray bytes = doc_.bytes();
  // A short text stays in the file object's buffer until the commit, whose
  // rename does not wait on the flush's success: the flush and the sync to
  // the disk are checked first. A cancelled write's new file is removed with
  // the file object, and the old one stays in place.
  const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
                       syncToDisk(file.handle()) == 0;
  if (!written) file.cancelWriting();
  if (!written || !file.commit()) throw Exception(iniWriteError(path_));
  syncFolder(QFileInfo(path_).canonicalPath());
}
