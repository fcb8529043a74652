#pragma once

#include <windows.h>

namespace platform::system_dlls {

// The program runs elevated from a folder that the user unpacked, often a downloads folder, where
// anyone may have left a DLL. So every DLL the process loads after this call comes from the
// system folder only: the folder of the program and the working directory are never searched.
// Call it first of all, before any DLL is loaded at run time.
void restrict_search_to_system_folder();

// Loads a DLL of the system folder by name. Null when it cannot be loaded, with the thread's
// last-error code saying why.
HMODULE load(const char* name);

// A function of a loaded DLL, as the pointer type it has. Null where the DLL lacks it, with the
// thread's last-error code saying so.
template <typename Function>
Function find_function(HMODULE dll, const char* name) {
    // Through void (*)(), which GCC lets become any other function pointer type without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

}  // namespace platform::system_dlls
