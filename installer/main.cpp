// cdc-install: installs the driver package in the working directory. Takes no arguments.
#include "installer/installation_sequence.hpp"
#include "platform/win32/win32_platform.hpp"

int main() { return installer::run_installation(platform::win32()); }
