// Must not build: the resources see the platform's interfaces, not the program.
#include "measure/fwhm.h"
