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

// Real modal windows.
class QtDialogs : public Dialogs {
 public:
  void setOwner(QWidget* owner) override { owner_ = owner; }
  ModalResult MessageDlg(const QString& text, MsgDlgType type, const QList<MsgDlgBtn>& buttons) override;
  void ErrorBox(const QString& caption, const QString& text) override;
  void AscomMessageBox(const QString& text, int iconFlag, const QString& caption) override;
  QString ChooseDriver(const QList<DriverEntry>& drivers, const QString& current) override;
  QString SaveFileName(const FileDialogRequest& request) override;
  QString OpenFileName(const FileDialogRequest& request) override;

 private:
  QWidget* owner_ = nullptr;
};

// Records every box and answers from a script, for tests. With no scripted
// answer a message dialog answers its first button, the chooser and the file
// dialogs are cancelled.
class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    QString kind;     // "MessageDlg", "ErrorBox", "AscomMessageBox", "Chooser", "Save", "Open"
    QString text;
    QString caption;
    int iconFlag = 0;
    QList<MsgDlgBtn> buttons;
    FileDialogRequest request;
  };
  QList<Shown> shown;
  QList<ModalResult> answers;       // message dialogs, in order
  QStringList choices;              // chooser and file dialogs, in order
  // Runs while a box is "open", as the user would act in a modal loop.
  std::function<void(const Shown&)> whileOpen;

  void setOwner(QWidget*) override {}
  ModalResult MessageDlg(const QString& text, MsgDlgType type, const QList<MsgDlgBtn>& buttons) override;
  void ErrorBox(const QString& caption, const QString& text) override;
  void AscomMessageBox(const QString& text, int iconFlag, const QString& caption) override;
  QString ChooseDriver(const QList<DriverEntry>& drivers, const QString& current) override;
  QString SaveFileName(const FileDialogRequest& request) override;
  QString OpenFileName(const FileDialogRequest& request) override;

  QStringList texts(const QString& kind) const;

 private:
  void open(const Shown& s);
  QString nextChoice();
};
