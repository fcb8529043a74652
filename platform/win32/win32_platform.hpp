#pragma once

#include "platform/platform.hpp"

namespace platform {

// The real Windows operations. Declared without <windows.h> so the entry point stays free of it.
Platform& win32();

}  // namespace platform
