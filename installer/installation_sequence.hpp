#pragma once

#include "platform/platform.hpp"

namespace installer {

constexpr int exit_completed = 0;
constexpr int exit_staging_directory_too_long = 1;

// One whole installation run: learn the staging directory, stage the INF and the catalog, place
// the driver file, hand the staged INF over and report a failed hand-over. Returns the exit status.
int run_installation(platform::Platform& platform);

}  // namespace installer
