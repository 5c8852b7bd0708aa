#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/exception.h"
#include "platform/ini_file.h"
#include "faulty_folder.h"
#include "qt_printers.h"

namespace {

QByteArray readAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(IniRead, NamesMatchWithoutRegardToCaseAndValuesAreTrimmed) {
  const IniDocument doc("[FOCUSER]\r\n  driver =  FocusSim.Focuser  \r\n[autofocus]\r\nM\xC9THODE=1\r\n");
  EXPECT_EQ(doc.ReadString("Focuser", "Driver", "x"), "FocusSim.Focuser");
  // The accented key is matched in Windows-1252, whatever its letter case.
  EXPECT_EQ(doc.ReadInteger("Autofocus", QString::fromUtf8("Méthode"), 0), 1);
  EXPECT_EQ(doc.ReadString("Focuser", "Name", "default"), "default");
  EXPECT_EQ(doc.ReadString("Nowhere", "Driver", "default"), "default");
}

TEST(IniRead, AKeyIsLookedUpOnlyInItsOwnSection) {
  const IniDocument doc("Position=7\n[Programme]\nPosition=8\n[Focuser]\nName=A\n");
  EXPECT_EQ(doc.ReadInteger("Focuser", "Position", -5), -5);
  EXPECT_EQ(doc.ReadInteger("Programme", "Position", -5), 8);
}

TEST(IniRead, TextIsWindows1252AndCutAt2047Characters) {
  QByteArray longValue(3000, 'a');
  const IniDocument doc("[S]\nName=Contr\xF4le\nLong=" + longValue + "\nQuoted=\"a b\"\n");
  EXPECT_EQ(doc.ReadString("S", "Name", ""), QString::fromUtf8("Contrôle"));
  EXPECT_EQ(doc.ReadString("S", "Long", "").size(), 2047);
  EXPECT_EQ(doc.ReadString("S", "Quoted", ""), "a b");
}

TEST(IniRead, IntegersAreDecimalOrHexadecimalAndAnythingElseGivesTheDefault) {
  const IniDocument doc(
      "[S]\nHex=0x10\nHexUpper=0X1f\nDollar=$FF\nAllBits=$FFFFFFFF\nNeg=-12\nPlus=+5\nBad=12abc\n"
      "Empty=\nBig=2147483648\nMin=-2147483648\nTooLongHex=$100000000\nBare=0x\n");
  EXPECT_EQ(doc.ReadInteger("S", "Hex", 0), 16);
  EXPECT_EQ(doc.ReadInteger("S", "HexUpper", 0), 31);
  EXPECT_EQ(doc.ReadInteger("S", "Dollar", 0), 255);
  EXPECT_EQ(doc.ReadInteger("S", "AllBits", 0), -1);
  EXPECT_EQ(doc.ReadInteger("S", "Neg", 0), -12);
  EXPECT_EQ(doc.ReadInteger("S", "Plus", 0), 5);
  EXPECT_EQ(doc.ReadInteger("S", "Bad", 99), 99);
  EXPECT_EQ(doc.ReadInteger("S", "Empty", 99), 99);
  EXPECT_EQ(doc.ReadInteger("S", "Big", 99), 99);
  EXPECT_EQ(doc.ReadInteger("S", "Min", 99), INT32_MIN);
  EXPECT_EQ(doc.ReadInteger("S", "TooLongHex", 99), 99);
  EXPECT_EQ(doc.ReadInteger("S", "Bare", 99), 99);
}

TEST(IniWrite, AValueIsReplacedWhereItStandsAndEveryOtherLineStaysAsItWas) {
  IniDocument doc("; my notes\r\n[Focuser]\r\nposition = 12\r\nUnknown=keep me\r\n\r\n[Mine]\r\nA=1\r\n");
  doc.WriteInteger("Focuser", "Position", 250);
  EXPECT_EQ(doc.bytes(), "; my notes\r\n[Focuser]\r\nposition = 250\r\nUnknown=keep me\r\n\r\n[Mine]\r\nA=1\r\n");
}

TEST(IniWrite, AMissingKeyGoesAtTheEndOfItsSectionBeforeTheBlankLines) {
  IniDocument doc("[Focuser]\nName=A\n\n[Autofocus]\nTolerance=3\n");
  doc.WriteString("Focuser", "Driver", "FocusSim.Focuser");
  doc.WriteInteger("Autofocus", "Mesures", 2);
  EXPECT_EQ(doc.bytes(), "[Focuser]\nName=A\nDriver=FocusSim.Focuser\n\n[Autofocus]\nTolerance=3\nMesures=2\n");
}

TEST(IniWrite, AMissingSectionGoesAtTheEndKeepingTheFilesLineEnding) {
  IniDocument lf("[A]\nx=1");  // no line ending after the last line
  lf.WriteInteger("Programme", "Gauche", -1);
  EXPECT_EQ(lf.bytes(), "[A]\nx=1\n[Programme]\nGauche=-1\n");

  IniDocument fresh;
  fresh.WriteString("Autofocus", QString::fromUtf8("Méthode"), "0");
  EXPECT_EQ(fresh.bytes(), "[Autofocus]\r\nM\xE9thode=0\r\n");
}

TEST(IniWrite, AUtf8MarkAtTheStartIsNoPartOfTheFirstLineAndStaysAtTheStart) {
  IniDocument doc("\xEF\xBB\xBF[Focuser]\r\nDriver=FocusSim.Focuser\r\n");
  EXPECT_EQ(doc.ReadString("Focuser", "Driver", ""), "FocusSim.Focuser");
  doc.WriteString("Focuser", "Driver", "Autre.Focuser");
  doc.WriteInteger("Autofocus", "Tolerance", 2);
  EXPECT_EQ(doc.bytes(), "\xEF\xBB\xBF[Focuser]\r\nDriver=Autre.Focuser\r\n[Autofocus]\r\nTolerance=2\r\n");
}

TEST(IniFileOnDisk, UpdateReplacesTheFileKeepingPermissionsAndFollowingALink) {
  QTemporaryDir dir;
  const QString target = dir.filePath("real.ini"), link = dir.filePath("trevast.ini");
  writeAll(target, "[Focuser]\nPosition=1\n");
  ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
  ASSERT_TRUE(QFile::link(target, link));

  IniFile file(link);
  EXPECT_EQ(file.ReadInteger("Focuser", "Position", 0), 1);
  file.WriteInteger("Focuser", "Position", 2);
  file.UpdateFile();

  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(readAll(target), "[Focuser]\nPosition=2\n");
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(IniFileOnDisk, AFailedWriteSaysWhereAndLeavesTheFileAsItWas) {
  QTemporaryDir dir;
  const QString path = dir.filePath("missing-folder/trevast.ini");
  IniFile file(path);
  file.WriteInteger("Focuser", "Position", 2);
  try {
    file.UpdateFile();
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), QString::fromUtf8("Impossible d'écrire dans ") + path);
  }
}

namespace {

// Permissions bind every user but root: as root, `attempt` runs in an
// unprivileged child process.
bool asUnprivilegedUser(const std::function<bool()>& attempt) {
  if (::geteuid() != 0) return attempt();
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) _exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && attempt() ? 0 : 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool updateFails(const QString& path) {
  IniFile file(path);
  file.WriteInteger("A", "x", 2);
  file.WriteString("A", "long", QString(4000, QLatin1Char('y')));
  try {
    file.UpdateFile();
  } catch (const Exception& e) {
    return e.message() == QString::fromUtf8("Impossible d'écrire dans ") + path;
  }
  return false;
}

}  // namespace

TEST(IniFileOnDisk, AFolderThatTakesNoNewFileLeavesTheFileWholeWhetherTheFileIsWritableOrNot) {
  for (const int fileMode : {0444, 0666}) {
    QTemporaryDir dir;
    const QString path = dir.filePath("trevast.ini");
    writeAll(path, "[A]\nx=1\n; mine\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), fileMode), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    EXPECT_TRUE(asUnprivilegedUser([&] { return updateFails(path); })) << "mode " << fileMode;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_EQ(readAll(path), "[A]\nx=1\n; mine\n") << "mode " << fileMode;
  }
}

TEST(IniFileOnDisk, APipeOrAFolderAtThePathIsNeitherOpenedNorReplaced) {
  QTemporaryDir dir;
  const QString pipe = dir.filePath("pipe.ini"), folder = dir.filePath("folder.ini");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
  ASSERT_TRUE(QDir().mkdir(folder));
  for (const QString& path : {pipe, folder}) {
    const IniFile file(path);  // a pipe opened for reading would wait here for a writer
    EXPECT_TRUE(file.Refused()) << path.toStdString();
    EXPECT_EQ(file.ReadInteger("A", "x", 7), 7);
    EXPECT_TRUE(updateFails(path)) << path.toStdString();
  }
  EXPECT_FALSE(QFileInfo(pipe).isFile());
  EXPECT_TRUE(QFileInfo(folder).isDir());
  EXPECT_FALSE(IniFile(dir.filePath("absent.ini")).Refused());
}

namespace {

// What a save of `path` answers: the error's text, or "saved".
QString saveOf(const QString& path) {
  IniFile file(path);
  file.WriteInteger("Focuser", "Position", 2);
  try {
    file.UpdateFile();
  } catch (const Exception& e) {
    return e.message();
  }
  return QStringLiteral("saved");
}

}  // namespace

TEST(IniFileOnDisk, AFileThatCouldNotBeReadWholeIsToldAndNeverReplaced) {
  // The user's own file, which the user may write but not read, in a folder
  // the user may write; and a file in a folder the user may not look into,
  // which is not a file that is absent.
  {
    QTemporaryDir dir;
    const QString path = dir.filePath("trevast.ini"), closed = dir.filePath("closed"),
                  hidden = closed + "/trevast.ini";
    ASSERT_TRUE(QDir().mkdir(closed));
    writeAll(path, "[A]\nx=1\n; mine\n");
    writeAll(hidden, "[A]\nx=1\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0200), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(closed).constData(), 0600), 0);
    if (::geteuid() == 0) {
      for (const QString& own : {dir.path(), path, closed})
        ASSERT_EQ(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
    }
    EXPECT_TRUE(asUnprivilegedUser([&] { return IniFile(path).Refused() && saveOf(path) == iniWriteError(path); }));
    EXPECT_TRUE(asUnprivilegedUser([&] { return IniFile(hidden).Refused(); }));
    ::chmod(QFile::encodeName(path).constData(), 0600);
    EXPECT_EQ(readAll(path), "[A]\nx=1\n; mine\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"trevast.ini"});
    ::chmod(QFile::encodeName(closed).constData(), 0700);
  }

  // A read that fails with an input/output error from the disk after the
  // first line (the program's own files fail at other points in their tests).
  FaultyFolder disk;
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
  const QByteArray mine = "; mes pilotes\n[Platform]\nFocusers=FocusSim.Focuser\n";
  disk.put("ascom.ini", mine, 14);
  EXPECT_TRUE(IniFile(disk.filePath("ascom.ini")).Refused());
  EXPECT_EQ(saveOf(disk.filePath("ascom.ini")), iniWriteError(disk.filePath("ascom.ini")));
  EXPECT_EQ(disk.bytes("ascom.ini"), mine);
  EXPECT_EQ(disk.names(), QStringList{"ascom.ini"});

  // A sync the system interrupts is tried again, not taken for a failure.
  disk.put("trevast.ini", "[A]\nx=1\n");
  disk.interruptNextSync();
  IniFile file(disk.filePath("trevast.ini"));
  file.WriteInteger("A", "x", 2);
  EXPECT_NO_THROW(file.UpdateFile());
  EXPECT_EQ(disk.bytes("trevast.ini"), "[A]\nx=2\n");
}
