#pragma once

#include <cstddef>
#include <cstring>

namespace installer {

// Every path the installer composes lives in a buffer of this many narrow characters, NUL included.
constexpr std::size_t path_buffer_size = 200;

constexpr const char* locator_script = "findtemp.bat";
constexpr const char* temp_location_file = "temploc.txt";

// Sources are relative to the working directory, the driver package folder. Dropping the
// leading "." gives the name to append to the staging directory, backslash and all.
constexpr const char* inf_source = ".\\usbcdckav.inf";
constexpr const char* catalog_source = ".\\usbcdckav.cat";
constexpr const char* driver_source = ".\\usbser.sys";
constexpr const char* driver_destination = "C:\\WINDOWS\\system32\\drivers\\usbser.sys";

constexpr const char* staged_name(const char* source) { return source + 1; }

// The longest staging directory that still leaves room for a staged name and the NUL.
inline std::size_t longest_staging_directory() {
    return path_buffer_size - 1 - std::strlen(staged_name(inf_source));
}

}  // namespace installer
