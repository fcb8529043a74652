#include "installer/installation_sequence.hpp"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "installer/package_files.hpp"
#include "installer/temp_location.hpp"

namespace installer {
namespace {

constexpr std::uint32_t error_file_not_found = 2;

void report_failed_hand_over(platform::Platform& platform, std::uint32_t code) {
    if (code == error_file_not_found) {
        platform.write_output("Cannot find usbcdckav.inf file!\r\n");
        return;
    }
    platform.write_output("System Error! code " + std::to_string(code) + "\r\n");
}

}  // namespace

int run_installation(platform::Platform& platform) {
    char staging_directory[path_buffer_size];
    char staged_inf[path_buffer_size];
    char staged_catalog[path_buffer_size];

    std::ifstream fin;
    obtain_staging_directory(platform, fin, staging_directory);

    // A longer directory would not leave room for the staged name; stop before touching anything.
    if (std::strlen(staging_directory) > longest_staging_directory()) {
        platform.write_output("Staging directory is too long!\r\n");
        fin.close();
        return exit_staging_directory_too_long;
    }
    std::strcpy(staged_inf, staging_directory);
    std::strcat(staged_inf, staged_name(inf_source));
    std::strcpy(staged_catalog, staging_directory);
    std::strcat(staged_catalog, staged_name(catalog_source));

    // Copy results are deliberately not examined: a staged INF that is missing shows in the
    // hand-over's own result.
    platform.copy_file(inf_source, staged_inf, false);
    platform.copy_file(catalog_source, staged_catalog, false);
    platform.copy_file(driver_source, driver_destination, true);

    if (!platform.hand_over_inf(staged_inf, nullptr, platform::source_media_none, 0, nullptr, 0,
                                nullptr, nullptr)) {
        report_failed_hand_over(platform, platform.last_error());
    }

    fin.close();
    return exit_completed;
}

}  // namespace installer
