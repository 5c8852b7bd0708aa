#include "platform/dialogs_qt.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

QString msgDlgCaption(MsgDlgType type) {
  switch (type) {
    case MsgDlgType::Warning: return QStringLiteral("Avertissement");
    case MsgDlgType::Error: return QStringLiteral("Erreur");
    case MsgDlgType::Information: return QStringLiteral("Information");
    case MsgDlgType::Confirmation: return QStringLiteral("Confirmation");
  }
  return {};
}

QString msgDlgButtonText(MsgDlgBtn button) {
  switch (button) {
    case MsgDlgBtn::Yes: return QStringLiteral("&Oui");
    case MsgDlgBtn::No: return QStringLiteral("&Non");
    case MsgDlgBtn::OK: return QStringLiteral("OK");
    case MsgDlgBtn::Cancel: return QStringLiteral("Annuler");
    case MsgDlgBtn::Abort: return QStringLiteral("&Abandonner");
  }
  return {};
}

QWidget* openerWindow(QWidget* owner) {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return owner ? owner : QApplication::activeWindow();
}

namespace {

QMessageBox::Icon iconOf(MsgDlgType type) {
  switch (type) {
    case MsgDlgType::Warning: return QMessageBox::Warning;
    case MsgDlgType::Error: return QMessageBox::Critical;
    case MsgDlgType::Information: return QMessageBox::Information;
    case MsgDlgType::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QString qtFilter(const QString& filter) {
  // "Description|pattern" pairs become Qt's "Description (pattern)" lines.
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2)
    out << (parts[i].contains(parts[i + 1]) ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
  return out.join(QStringLiteral(";;"));
}

QString runFileDialog(QWidget* owner, const FileDialogRequest& r, bool save) {
  QFileDialog dialog(owner, r.title, r.initialDir, qtFilter(r.filter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // As every file dialog that opens: a name that is not there is told and the dialog stays open.
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(r.defaultExt);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.overwritePrompt);
  if (!r.fileName.isEmpty()) dialog.selectFile(r.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

ModalResult QtDialogs::MessageDlg(const QString& text, MsgDlgType type, const QList<MsgDlgBtn>& buttons) {
  QMessageBox box(iconOf(type), msgDlgCaption(type), text, QMessageBox::NoButton, parent());
  QList<QPair<QAbstractButton*, MsgDlgBtn>> made;
  for (MsgDlgBtn b : buttons) {
    const auto role = (b == MsgDlgBtn::No || b == MsgDlgBtn::Cancel || b == MsgDlgBtn::Abort)
                          ? QMessageBox::RejectRole
                          : QMessageBox::AcceptRole;
    made.append({box.addButton(msgDlgButtonText(b), role), b});
  }
  box.exec();
  for (const auto& [button, which] : made)
    if (box.clickedButton() == button) return modalResultOf(which);
  return ModalResult::Cancel;
}

void QtDialogs::ErrorBox(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent());
  box.exec();
}

void QtDialogs::AscomMessageBox(const QString& text, int iconFlag, const QString& caption) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (iconFlag & 0xF0) {
    case 16: icon = QMessageBox::Critical; break;
    case 32: icon = QMessageBox::Question; break;
    case 48: icon = QMessageBox::Warning; break;
    case 64: icon = QMessageBox::Information; break;
  }
  // The platform's boxes take LF CR line breaks; Qt wants plain LF.
  QString shown = text;
  shown.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  QMessageBox box(icon, caption, shown, QMessageBox::Ok, parent());
  box.exec();
}

QString QtDialogs::ChooseDriver(const QList<DriverEntry>& drivers, const QString& current) {
  QDialog dialog(parent());
  dialog.setWindowTitle(QStringLiteral("Sélecteur de focuser ASCOM"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QStringLiteral("Choisissez le focuser :"), &dialog));
  auto* list = new QListWidget(&dialog);
  QListWidgetItem* chosen = nullptr;
  for (const DriverEntry& d : drivers) {
    auto* item = new QListWidgetItem(d.name.isEmpty() ? d.progId : d.name, list);
    item->setData(Qt::UserRole, d.progId);
    if (!chosen && d.progId.compare(current, Qt::CaseInsensitive) == 0) chosen = item;
  }
  // The list opens with the current driver, or else the first, selected: OK
  // takes what the list shows, wherever the keyboard focus landed.
  if (!chosen) chosen = list->item(0);
  if (chosen) list->setCurrentItem(chosen, QItemSelectionModel::ClearAndSelect);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  // OK gives a driver or is not there to press: a click beside the items
  // leaves none selected, and only Annuler means no driver.
  auto offerOk = [list, ok] { ok->setEnabled(!list->selectedItems().isEmpty()); };
  offerOk();
  QObject::connect(list, &QListWidget::itemSelectionChanged, ok, offerOk);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
  if (dialog.exec() != QDialog::Accepted || list->selectedItems().isEmpty()) return {};
  return list->selectedItems().first()->data(Qt::UserRole).toString();
}

QString QtDialogs::SaveFileName(const FileDialogRequest& request) { return runFileDialog(parent(), request, true); }
QString QtDialogs::OpenFileName(const FileDialogRequest& request) { return runFileDialog(parent(), request, false); }

ModalResult modalResultOf(MsgDlgBtn button) {
  switch (button) {
    case MsgDlgBtn::Yes: return ModalResult::Yes;
    case MsgDlgBtn::No: return ModalResult::No;
    case MsgDlgBtn::OK: return ModalResult::OK;
    case MsgDlgBtn::Cancel: return ModalResult::Cancel;
    case MsgDlgBtn::Abort: return ModalResult::Abort;
  }
  return ModalResult::None;
}
