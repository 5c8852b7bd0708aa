#pragma once
#include <memory>

#include "platform/desktop.h"

// The screen of an X server, through Xlib.
std::unique_ptr<Desktop> makeX11Desktop();
