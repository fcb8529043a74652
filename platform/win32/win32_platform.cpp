#include "platform/win32/win32_platform.hpp"

#include <cstdlib>
#include <iostream>

#include <windows.h>
#include <setupapi.h>

#include "platform/win32/system_dlls.hpp"

namespace platform {
namespace {

struct Win32Platform final : Platform {
    // Before anything else can load a DLL.
    Win32Platform() { system_dlls::restrict_search_to_system_folder(); }

    int run_command(const char* command) override { return std::system(command); }

    bool copy_file(const char* existing_file, const char* new_file, bool fail_if_exists) override {
        return CopyFileA(existing_file, new_file, fail_if_exists ? TRUE : FALSE) != FALSE;
    }

    bool hand_over_inf(const char* source_inf, const char* source_media_location,
                       std::uint32_t source_media_type, std::uint32_t copy_style,
                       char* destination_inf_name, std::uint32_t destination_inf_name_size,
                       std::uint32_t* required_size, char** destination_inf_name_component) override {
        // A setup library that cannot be had is a failed hand-over; the failed load's code is
        // the last-error code the caller reads.
        const auto setup_copy_oem_inf = setup_copy_oem_inf_function();
        if (!setup_copy_oem_inf) return false;

        // DWORD is unsigned long here, so the size comes back through a DWORD of our own.
        DWORD size = 0;
        const BOOL handed_over = setup_copy_oem_inf(
            source_inf, source_media_location, source_media_type, copy_style, destination_inf_name,
            destination_inf_name_size, required_size ? &size : nullptr, destination_inf_name_component);
        if (required_size) *required_size = size;
        return handed_over != FALSE;
    }

    std::uint32_t last_error() override { return GetLastError(); }

    void write_output(std::string_view text) override {
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    }

private:
    using SetupCopyOEMInfAFunction = decltype(&SetupCopyOEMInfA);

    // SETUPAPI is loaded at run time, from the system folder, and not imported: an imported DLL
    // and its own imports load before main, when the search still includes the program's folder.
    SetupCopyOEMInfAFunction setup_copy_oem_inf_function() {
        if (!setup_copy_oem_inf_) {
            const HMODULE setupapi = system_dlls::load("setupapi.dll");
            if (!setupapi) return nullptr;
            setup_copy_oem_inf_ =
                system_dlls::find_function<SetupCopyOEMInfAFunction>(setupapi, "SetupCopyOEMInfA");
        }
        return setup_copy_oem_inf_;
    }

    SetupCopyOEMInfAFunction setup_copy_oem_inf_ = nullptr;
};

}  // namespace

Platform& win32() {
    static Win32Platform the_platform;
    return the_platform;
}

}  // namespace platform
