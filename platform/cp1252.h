#pragma once
// Windows-1252, the 8-bit code page of every text the program stores.
#include <QByteArray>
#include <QString>

namespace cp1252 {
QString decode(const QByteArray& bytes);
// Characters with no place in the code page become '?', as Windows writes them.
QByteArray encode(const QString& text);
}
