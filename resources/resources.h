#pragma once
// The program's compiled-in resources: the version block and the pictures.
namespace resources {
// Registers the resources with Qt; cheap to call again.
void load();
}
