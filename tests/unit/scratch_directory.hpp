#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

// A fresh, empty working directory for one test, removed afterwards. The installer reads and
// writes relative to the working directory, as it does in a driver package folder.
class ScratchDirectory {
public:
    ScratchDirectory() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "cdc-install-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~ScratchDirectory() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};
