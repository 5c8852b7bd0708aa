#include "scripted_dialogs.h"

void ScriptedDialogs::open(const Shown& s) {
  shown.append(s);
  if (whileOpen) whileOpen(s);
}

QString ScriptedDialogs::nextChoice() { return choices.isEmpty() ? QString() : choices.takeFirst(); }

ModalResult ScriptedDialogs::MessageDlg(const QString& text, MsgDlgType type, const QList<MsgDlgBtn>& buttons) {
  Shown s{QStringLiteral("MessageDlg"), text, msgDlgCaption(type), 0, buttons, {}};
  open(s);
  if (!answers.isEmpty()) return answers.takeFirst();
  return buttons.isEmpty() ? ModalResult::Cancel : modalResultOf(buttons.first());
}

void ScriptedDialogs::ErrorBox(const QString& caption, const QString& text) {
  open({QStringLiteral("ErrorBox"), text, caption, 0, {MsgDlgBtn::OK}, {}});
}

void ScriptedDialogs::AscomMessageBox(const QString& text, int iconFlag, const QString& caption) {
  open({QStringLiteral("AscomMessageBox"), text, caption, iconFlag, {MsgDlgBtn::OK}, {}});
}

QString ScriptedDialogs::ChooseDriver(const QList<DriverEntry>&, const QString& current) {
  open({QStringLiteral("Chooser"), current, {}, 0, {}, {}});
  return nextChoice();
}

QString ScriptedDialogs::SaveFileName(const FileDialogRequest& request) {
  open({QStringLiteral("Save"), request.fileName, request.title, 0, {}, request});
  return nextChoice();
}

QString ScriptedDialogs::OpenFileName(const FileDialogRequest& request) {
  open({QStringLiteral("Open"), request.fileName, request.title, 0, {}, request});
  return nextChoice();
}

QStringList ScriptedDialogs::texts(const QString& kind) const {
  QStringList out;
  for (const Shown& s : shown)
    if (s.kind == kind) out << s.text;
  return out;
}
