#include "tools/package_check.hpp"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

namespace package_check {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view catalog_name = "usbcdckav.cat";

struct PackageFile {
    const char* name;
    const char* role;
};

const PackageFile package_files[] = {
    {"usbcdckav.inf", "the INF that cdc-install hands to Windows"},
    {"usbcdckav.cat", "the catalog of the INF"},
    {"usbser.sys", "the driver file"},
    {"findtemp.bat", "the locator script that tells cdc-install the staging directory"},
};

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view unquote(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

// INFs come in UTF-16 (with its byte-order mark) as often as in ANSI. The names checked here are
// ASCII, so any other character can stand as '?'.
std::string narrow_text(std::string_view bytes) {
    const bool little_endian = bytes.substr(0, 2) == "\xFF\xFE";
    const bool big_endian = bytes.substr(0, 2) == "\xFE\xFF";
    if (!little_endian && !big_endian) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    std::string text;
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        const auto low = static_cast<unsigned char>(bytes[little_endian ? at : at + 1]);
        const auto high = static_cast<unsigned char>(bytes[little_endian ? at + 1 : at]);
        const unsigned unit = high << 8 | low;
        text += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return text;
}

// A line without its comment: a semicolon outside quotes starts one.
std::string_view without_comment(std::string_view line) {
    bool quoted = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        if (line[at] == '"') quoted = !quoted;
        if (line[at] == ';' && !quoted) return line.substr(0, at);
    }
    return line;
}

std::optional<fs::path> find_case_insensitively(const fs::path& folder, std::string_view name) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (lower(entry.path().filename().string()) == name) return entry.path();
    return std::nullopt;
}

}  // namespace

std::vector<std::string> inf_problems(std::string_view inf) {
    bool has_version = false;
    bool has_signature = false;
    std::vector<std::pair<std::string, std::string>> catalogs;  // key as written, file named

    std::istringstream lines(narrow_text(inf));
    std::string section;
    for (std::string raw; std::getline(lines, raw);) {
        const std::string_view line = trim(without_comment(raw));
        if (line.empty()) continue;
        if (line.front() == '[') {
            const auto end = line.find(']');
            section = lower(trim(line.substr(1, end == std::string_view::npos ? end : end - 1)));
            has_version = has_version || section == "version";
            continue;
        }
        const auto equals = line.find('=');
        if (section != "version" || equals == std::string_view::npos) continue;
        const std::string_view key = trim(line.substr(0, equals));
        const std::string_view value = unquote(trim(line.substr(equals + 1)));
        const std::string key_lower = lower(key);
        if (key_lower == "signature" && !value.empty()) has_signature = true;
        // CatalogFile, or one per platform: CatalogFile.NTx86, CatalogFile.NTamd64, ...
        if (key_lower == "catalogfile" || key_lower.rfind("catalogfile.", 0) == 0)
            catalogs.emplace_back(std::string(key), std::string(value));
    }

    std::vector<std::string> problems;
    if (!has_version) {
        problems.push_back("usbcdckav.inf has no [Version] section, so Windows does not take it as an INF.");
        return problems;
    }
    if (!has_signature)
        problems.push_back("usbcdckav.inf has no Signature in its [Version] section (such as "
                           "Signature=\"$Windows NT$\"), so Windows does not take it as an INF.");
    if (catalogs.empty())
        problems.push_back("usbcdckav.inf names no catalog (CatalogFile=usbcdckav.cat in its [Version] "
                           "section), so the staged usbcdckav.cat is not used and Windows takes the "
                           "package as unsigned.");
    for (const auto& [key, file] : catalogs) {
        if (lower(file) == catalog_name) continue;
        problems.push_back("usbcdckav.inf names the catalog \"" + file + "\" (" + key +
                           "), but cdc-install stages usbcdckav.cat: the setup library then fails "
                           "with code 2, and cdc-install reports \"Cannot find usbcdckav.inf file!\" "
                           "although it is the catalog that is missing.");
    }
    return problems;
}

std::vector<std::string> folder_problems(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) return {folder.string() + " is not a folder."};

    std::vector<std::string> problems;
    for (const auto& file : package_files) {
        if (!find_case_insensitively(folder, file.name))
            problems.push_back(std::string("The package folder has no ") + file.name + ", " + file.role + ".");
    }
    if (const auto inf = find_case_insensitively(folder, "usbcdckav.inf")) {
        std::ifstream in(*inf, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto inf_faults = inf_problems(bytes);
        problems.insert(problems.end(), inf_faults.begin(), inf_faults.end());
    }
    return problems;
}

}  // namespace package_check
