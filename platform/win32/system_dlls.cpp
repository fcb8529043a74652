#include "platform/win32/system_dlls.hpp"

#include <string>

namespace platform::system_dlls {
namespace {

// Whether SetDefaultDllDirectories has limited the search to the system folder.
bool search_restricted = false;

}  // namespace

void restrict_search_to_system_folder() {
    // SetDefaultDllDirectories came with Windows 8, and with KB2533623 to Windows 7; Vista never
    // has it. It is looked up, not imported: a missing import would stop the program before it
    // starts.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto set_default_dll_directories = find_function<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    search_restricted = set_default_dll_directories &&
                        set_default_dll_directories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
    // Without it, at least the working directory leaves the search; load() then names full paths.
    if (!search_restricted) SetDllDirectoryA("");
}

HMODULE load(const char* name) {
    if (search_restricted) return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);

    // By its full path, and with the altered search order, so that the DLL's own dependencies
    // are also looked for in the system folder before anywhere else.
    char system_folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system_folder, MAX_PATH);
    if (length == 0) return nullptr;
    if (length >= MAX_PATH) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return nullptr;
    }
    const std::string path = std::string(system_folder, length) + "\\" + name;
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace platform::system_dlls
