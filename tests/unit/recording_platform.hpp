#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.hpp"

// Stands in for Windows: records every call with its arguments, written the way the real call
// would be, and plays the locator script by leaving the configured temp-location file behind.
struct RecordingPlatform final : platform::Platform {
    // Bytes the locator script leaves in temploc.txt; none leaves no file.
    std::optional<std::string> temp_location_bytes;
    bool copies_succeed = true;
    bool hand_over_succeeds = true;
    std::uint32_t error_code = 0;

    std::vector<std::string> calls;
    std::string output;

    int run_command(const char* command) override {
        calls.push_back("system(\"" + std::string(command) + "\")");
        if (temp_location_bytes) {
            std::ofstream("temploc.txt", std::ios::binary) << *temp_location_bytes;
        }
        return 0;
    }

    bool copy_file(const char* existing_file, const char* new_file, bool fail_if_exists) override {
        calls.push_back("CopyFileA(\"" + std::string(existing_file) + "\", \"" + new_file + "\", " +
                        (fail_if_exists ? "TRUE" : "FALSE") + ")");
        return copies_succeed;
    }

    bool hand_over_inf(const char* source_inf, const char* source_media_location,
                       std::uint32_t source_media_type, std::uint32_t copy_style,
                       char* destination_inf_name, std::uint32_t destination_inf_name_size,
                       std::uint32_t* required_size, char** destination_inf_name_component) override {
        calls.push_back("SetupCopyOEMInfA(\"" + std::string(source_inf) + "\", " +
                        pointer(source_media_location) + ", " + std::to_string(source_media_type) +
                        ", " + std::to_string(copy_style) + ", " + pointer(destination_inf_name) +
                        ", " + std::to_string(destination_inf_name_size) + ", " +
                        pointer(required_size) + ", " + pointer(destination_inf_name_component) + ")");
        return hand_over_succeeds;
    }

    std::uint32_t last_error() override {
        calls.push_back("GetLastError()");
        return error_code;
    }

    void write_output(std::string_view text) override {
        calls.push_back("stdout");
        output += text;
    }

private:
    static std::string pointer(const void* p) { return p ? "non-null" : "NULL"; }
};
