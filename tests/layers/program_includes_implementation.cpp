// Must not build: a program file sees the platform's interfaces only.
#include "platform/desktop_x11.h"
