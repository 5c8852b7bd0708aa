#pragma once
// The boxes and dialogs as real Qt windows.
#include "platform/dialogs.h"

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
  QWidget* parent() const { return openerWindow(owner_); }
  QWidget* owner_ = nullptr;
};
