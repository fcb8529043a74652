#pragma once

#include <fstream>
#include <istream>

#include "installer/package_files.hpp"
#include "platform/platform.hpp"

namespace installer {

// Reads the staging directory from the temp-location file: skips the five-character prefix, then
// takes up to the next line feed, at most path_buffer_size - 1 characters. Always NUL-terminates.
// The stream is expected in binary mode; the text-mode rules of the Windows C runtime are applied
// here, so the same bytes give the same value wherever this is built.
void read_staging_directory(std::istream& fin, char (&staging_directory)[path_buffer_size]);

// Runs the locator script, then opens the temp-location file as fin and reads the staging
// directory from it. fin is left open; the caller closes it.
void obtain_staging_directory(platform::Platform& platform, std::ifstream& fin,
                              char (&staging_directory)[path_buffer_size]);

}  // namespace installer
