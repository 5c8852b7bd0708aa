#pragma once
// INI files with the behaviour of the Windows private-profile functions:
// Windows-1252 bytes, names matched without regard to letter case, a written
// value replaced where it stands, a new key at the end of its section, a new
// section at the end of the file, every other line kept byte for byte.
//
// IniDocument is the text in memory; IniFile adds the file on disk, read when
// it is opened and replaced in one step by UpdateFile.
#include <QByteArray>
#include <QString>
#include <vector>

class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(const QByteArray& bytes);

  // Text values are cut to 2047 characters, the size of the read buffer.
  static constexpr int kMaxValueLength = 2047;

  bool hasKey(const QString& section, const QString& key) const;
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  // Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$";
  // anything else, or a number beyond 32 bits, gives the default.
  int ReadInteger(const QString& section, const QString& key, int def) const;
  void WriteString(const QString& section, const QString& key, const QString& value);
  void WriteInteger(const QString& section, const QString& key, int value);

  QByteArray bytes() const;

 private:
  struct Line {
    QByteArray text;  // without its line ending
    QByteArray eol;   // "\r\n", "\n", or empty for a last line without one
  };
  int findSection(const QString& section) const;      // index of the "[..]" line, or -1
  int sectionEnd(int headerLine) const;               // first line after the section
  int findKey(int headerLine, const QString& key) const;
  QByteArray newEol() const { return crlf_ ? "\r\n" : "\n"; }
  void insertLine(int at, const QByteArray& text);

  QByteArray mark_;  // a UTF-8 mark that stood before the first line, kept there
  std::vector<Line> lines_;
  bool crlf_ = true;  // new lines take the file's first line ending; CR LF in a new file
};

// Reading and parsing integers as the settings reader does; exposed for the
// profile files and the tests.
bool parseIniInteger(const QString& text, int& value);

class IniFile {
 public:
  // A missing file reads as empty; Absent() tells it. So does one that cannot
  // be read whole: something other than a regular file (a folder, a pipe, a
  // device, which is never opened, so the read cannot block), a file the user
  // may not read, or a read that fails at any byte; Refused() then tells the
  // caller, and the file is never replaced (UpdateFile throws).
  explicit IniFile(QString path);

  const QString& FileName() const { return path_; }
  bool Refused() const { return refused_; }
  bool Absent() const { return absent_; }
  QString ReadString(const QString& s, const QString& k, const QString& def) const { return doc_.ReadString(s, k, def); }
  int ReadInteger(const QString& s, const QString& k, int def) const { return doc_.ReadInteger(s, k, def); }
  bool hasKey(const QString& s, const QString& k) const { return doc_.hasKey(s, k); }
  void WriteString(const QString& s, const QString& k, const QString& v) { doc_.WriteString(s, k, v); }
  void WriteInteger(const QString& s, const QString& k, int v) { doc_.WriteInteger(s, k, v); }

  // Writes the file: the new content goes beside it, reaches the disk, and
  // replaces the file in one step, keeping its permissions and following a
  // symbolic link to its target, so the file always holds either its whole old
  // text or its whole new text; its folder is then synced, so the new name
  // lasts too. A file that could not be read whole, a folder that takes no
  // new file, a full disk, or something other than a regular file at the path
  // throws
  // Exception("Impossible d'écrire dans <path>") and leaves the file as it was.
  void UpdateFile();

 private:
  QString path_;
  IniDocument doc_;
  bool refused_ = false;
  bool absent_ = false;
};

// The texts of the two failures, with the file's path.
QString iniReadError(const QString& path);
QString iniWriteError(const QString& path);
