#pragma once
// The boxes and dialogs of the tests.
#include <functional>

#include "platform/dialogs.h"

// Records every box and answers from a script. With no scripted
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
