// check-package FOLDER: says what is wrong with a driver package folder before cdc-install runs
// on it. Exits 0 when nothing is, 1 when something is, 2 on a wrong call.
#include <iostream>

#include "tools/package_check.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: check-package FOLDER\n";
        return 2;
    }
    const auto problems = package_check::folder_problems(argv[1]);
    for (const auto& problem : problems) std::cout << "  - " << problem << '\n';
    return problems.empty() ? 0 : 1;
}
