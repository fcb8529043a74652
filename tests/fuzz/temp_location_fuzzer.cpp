// Feeds arbitrary bytes to the temp-location reader as the contents of temploc.txt and checks its
// promises against a plain model of the reading rules.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "installer/temp_location.hpp"

namespace {

constexpr std::size_t longest_value = installer::path_buffer_size - 1;

// Text mode of the C runtime (Ctrl-Z ends the file, CR LF is LF), then five characters skipped
// and the rest of that line, at most longest_value characters of it.
std::string modelled_value(std::string bytes) {
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) text += bytes[i];
    }
    text.erase(0, 5);
    return text.substr(0, std::min(text.find('\n'), longest_value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream fin(bytes, std::ios::in | std::ios::binary);

    // Exactly one path buffer on the heap, so that AddressSanitizer sees any write past it.
    const auto buffer = std::make_unique<char[][installer::path_buffer_size]>(1);
    char(&staging_directory)[installer::path_buffer_size] = buffer[0];
    installer::read_staging_directory(fin, staging_directory);

    const std::string expected = modelled_value(bytes);
    if (expected.size() > longest_value) std::abort();
    if (std::string(staging_directory, expected.size()) != expected) std::abort();
    if (staging_directory[expected.size()] != '\0') std::abort();
    return 0;
}
