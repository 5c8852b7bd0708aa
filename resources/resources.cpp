#include "resources/resources.h"

#include <QtGlobal>

static void initTrevastResources() { Q_INIT_RESOURCE(resources); }

namespace resources {
void load() {
  static const bool done = (initTrevastResources(), true);
  (void)done;
}
}  // namespace resources
