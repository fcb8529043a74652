#include "installer/temp_location.hpp"

#include <string>

namespace installer {
namespace {

constexpr int end_of_file = std::char_traits<char>::eof();
constexpr int ctrl_z = 0x1A;
constexpr int prefix_length = 5;

// One character as a text-mode read of the C runtime gives it: CR LF is one LF, a lone CR is
// itself, and Ctrl-Z ends the file for good.
int next_text_character(std::istream& fin) {
    const int c = fin.get();
    if (c == ctrl_z) {
        fin.setstate(std::ios::eofbit);
        return end_of_file;
    }
    if (c == '\r' && fin.peek() == '\n') return fin.get();
    return c;
}

}  // namespace

void read_staging_directory(std::istream& fin, char (&staging_directory)[path_buffer_size]) {
    for (int skipped = 0; skipped < prefix_length; ++skipped) {
        if (next_text_character(fin) == end_of_file) break;
    }

    std::size_t stored = 0;
    while (stored < path_buffer_size - 1) {
        const int c = next_text_character(fin);
        if (c == end_of_file || c == '\n') break;
        staging_directory[stored++] = static_cast<char>(c);
    }
    staging_directory[stored] = '\0';
}

void obtain_staging_directory(platform::Platform& platform, std::ifstream& fin,
                              char (&staging_directory)[path_buffer_size]) {
    platform.run_command(locator_script);
    fin.open(temp_location_file, std::ios::in | std::ios::binary);
    read_staging_directory(fin, staging_directory);
}

}  // namespace installer
