// Must not build: the platform sees nothing above it.
#include "app/Unit1.h"
