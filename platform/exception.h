#pragma once
// The program's errors: a message for the error box and a help context number
// (0 unless an automation object gave one).
#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception {
 public:
  explicit Exception(QString message, int helpContext = 0)
      : message_(std::move(message)), utf8_(message_.toUtf8()), helpContext_(helpContext) {}
  const QString& message() const { return message_; }
  int helpContext() const { return helpContext_; }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
  int helpContext_;
};
