#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Media type for a hand-over whose INF names no source media (SPOST_NONE).
constexpr std::uint32_t source_media_none = 0;

// The Windows operations the installer uses, each shaped like the call it stands for, so that
// a test double sees every argument the real call would get.
struct Platform {
    virtual ~Platform() = default;

    // The standard library's system(): runs the command through the command interpreter.
    virtual int run_command(const char* command) = 0;

    // CopyFileA.
    virtual bool copy_file(const char* existing_file, const char* new_file, bool fail_if_exists) = 0;

    // SetupCopyOEMInfA: hands an INF over to the setup library.
    virtual bool hand_over_inf(const char* source_inf, const char* source_media_location,
                               std::uint32_t source_media_type, std::uint32_t copy_style,
                               char* destination_inf_name, std::uint32_t destination_inf_name_size,
                               std::uint32_t* required_size, char** destination_inf_name_component) = 0;

    // GetLastError.
    virtual std::uint32_t last_error() = 0;

    // Standard output, as a text stream.
    virtual void write_output(std::string_view text) = 0;
};

}  // namespace platform
