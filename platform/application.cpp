#include "platform/application.h"

#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/exception.h"

TApplication* Application = nullptr;

QString errorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

void TApplication::ProcessMessages() { pump_.ProcessMessages(); }

void TApplication::HandleException(const std::exception& error) {
  const auto* own = dynamic_cast<const Exception*>(&error);
  const QString message = own ? own->message() : QString::fromUtf8(error.what());
  if (errorBoxOpen_) {
    qWarning("%s", qPrintable(message));
    return;
  }
  errorBoxOpen_ = true;
  dialogs_.ErrorBox(Title, errorBoxText(message));
  errorBoxOpen_ = false;
}

void TApplication::Terminate() {
  // Only marked: the event loops keep running, so what the close itself still
  // shows (the box of a failed settings write) waits for its answer. The close
  // ends the loops once its own work is done.
  terminated_ = true;
}
