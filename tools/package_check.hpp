#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Checks a user's driver package folder before cdc-install runs on it, and says in plain words
// what would go wrong: the faults that the program's own two messages would hide or misname.
namespace package_check {

// What is wrong with the INF's text (its bytes, in any of the encodings Windows reads); empty
// when nothing is.
std::vector<std::string> inf_problems(std::string_view inf);

// What is wrong with the package folder: missing package files, then the INF's problems.
std::vector<std::string> folder_problems(const std::filesystem::path& folder);

}  // namespace package_check
