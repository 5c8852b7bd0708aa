#pragma once
// The program's compiled-in resources: the version block and the pictures.
#include <QByteArray>

namespace resources {
// Registers the resources with Qt; cheap to call again.
void load();
// The version block compiled into the program.
QByteArray versionBlock();
}
