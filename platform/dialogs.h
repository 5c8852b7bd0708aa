#pragma once
// The modal boxes and dialogs the program shows. The program asks through this
// interface; the Qt implementation shows real windows, tests script answers.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

enum class MsgDlgType { Warning, Error, Information, Confirmation };
enum class MsgDlgBtn { Yes, No, OK, Cancel, Abort };
enum class ModalResult { None, OK, Cancel, Abort, Yes, No };

// The caption the framework gives each kind of message dialog.
QString msgDlgCaption(MsgDlgType type);
// The text of each button, with its accelerator: "&Oui", "&Abandonner", ...
QString msgDlgButtonText(MsgDlgBtn button);
// The result a button gives when it is pressed.
ModalResult modalResultOf(MsgDlgBtn button);

// The window a new modal window opens from, and so its parent and its screen:
// the modal window the user works in, else `owner`, else the active window. A
// window transient for its opener stays above it, also when the opener stays
// on top.
QWidget* openerWindow(QWidget* owner = nullptr);

struct DriverEntry {
  QString progId;
  QString name;
};

struct FileDialogRequest {
  QString title;         // empty: the system's own
  QString filter;        // "Fichiers Trevast (*.trv)|*.trv"
  QString defaultExt;    // "trv"
  QString initialDir;    // empty: the current folder
  QString fileName;      // proposed name
  bool overwritePrompt = false;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The window that owns the boxes, so they stay above it.
  virtual void setOwner(QWidget* owner) = 0;
  // The framework's message dialog; the result of the button pressed, or
  // Cancel when it was closed otherwise.
  virtual ModalResult MessageDlg(const QString& text, MsgDlgType type, const QList<MsgDlgBtn>& buttons) = 0;
  // The framework's error box: `caption`, a stop icon and OK.
  virtual void ErrorBox(const QString& caption, const QString& text) = 0;
  // The ASCOM utility's message box; icon flag 48 exclamation, 64 information.
  virtual void AscomMessageBox(const QString& text, int iconFlag, const QString& caption) = 0;
  // The ASCOM chooser: the identifier picked, "" when cancelled.
  virtual QString ChooseDriver(const QList<DriverEntry>& drivers, const QString& current) = 0;
  // File dialogs: the chosen path, or an empty string when cancelled.
  virtual QString SaveFileName(const FileDialogRequest& request) = 0;
  virtual QString OpenFileName(const FileDialogRequest& request) = 0;
};
