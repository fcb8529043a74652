#include "platform/win32/win32_platform.hpp"

#include <cstdlib>
#include <iostream>

#include <windows.h>
#include <setupapi.h>

namespace platform {
namespace {

struct Win32Platform final : Platform {
    int run_command(const char* command) override { return std::system(command); }

    bool copy_file(const char* existing_file, const char* new_file, bool fail_if_exists) override {
        return CopyFileA(existing_file, new_file, fail_if_exists ? TRUE : FALSE) != FALSE;
    }

    bool hand_over_inf(const char* source_inf, const char* source_media_location,
                       std::uint32_t source_media_type, std::uint32_t copy_style,
                       char* destination_inf_name, std::uint32_t destination_inf_name_size,
                       std::uint32_t* required_size, char** destination_inf_name_component) override {
        // DWORD is unsigned long here, so the size comes back through a DWORD of our own.
        DWORD size = 0;
        const BOOL handed_over = SetupCopyOEMInfA(
            source_inf, source_media_location, source_media_type, copy_style, destination_inf_name,
            destination_inf_name_size, required_size ? &size : nullptr, destination_inf_name_component);
        if (required_size) *required_size = size;
        return handed_over != FALSE;
    }

    std::uint32_t last_error() override { return GetLastError(); }

    void write_output(std::string_view text) override {
        std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
};

}  // namespace

Platform& win32() {
    static Win32Platform the_platform;
    return the_platform;
}

}  // namespace platform
