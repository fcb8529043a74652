// Runs the real cdc-install.exe in a Wine prefix of its architecture (CDC_ARCHITECTURE: x86 in a
// 32-bit prefix, x64 in a 64-bit one) and checks what a user would check: the bytes on standard
// output, the exit status, the staged files, the driver file, the INF that the setup library
// published and the package folder left whole.
#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The build under test and the Windows it runs in.
struct Architecture {
    std::string name;  // empty where CDC_ARCHITECTURE names none
    fs::path exe;
    fs::path prefix;
    fs::path planted_dll = fs::path(PLANTED_DLLS) / name / "version.dll";
    fs::path drive_c = prefix / "drive_c";
    fs::path driver_destination = drive_c / "windows/system32/drivers/usbser.sys";
    fs::path published_infs = drive_c / "windows/inf";
};

// CDC_INSTALL_EXE, where set, names another program of that architecture, such as a signed one.
const Architecture& architecture() {
    static const Architecture chosen = [] {
        const char* name = std::getenv("CDC_ARCHITECTURE");
        const std::string chosen_name = name ? name : "";
        const fs::path prefix = fs::path(WINE_PREFIXES) / chosen_name;
        const char* other_exe = std::getenv("CDC_INSTALL_EXE");
        if (chosen_name == "x86")
            return Architecture{"x86", other_exe ? other_exe : CDC_INSTALL_EXE_X86, prefix};
        if (chosen_name == "x64")
            return Architecture{"x64", other_exe ? other_exe : CDC_INSTALL_EXE_X64, prefix};
        return Architecture{};
    }();
    return chosen;
}

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::optional<std::string> file_if_any(const fs::path& path) {
    if (!fs::exists(path)) return std::nullopt;
    return read_file(path);
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A Windows path on C: as the Unix path under the prefix.
fs::path unix_path(const std::string& windows_path) {
    EXPECT_EQ(windows_path.rfind("C:\\", 0), 0u) << windows_path;
    return architecture().drive_c / replace_all(windows_path.substr(3), "\\", "/");
}

const std::string example_inf = read_file(fs::path(EXAMPLE_PACKAGE) / "usbcdckav.inf");
const std::string example_catalog = read_file(fs::path(EXAMPLE_PACKAGE) / "usbcdckav.cat");
const std::string example_driver = read_file(fs::path(EXAMPLE_PACKAGE) / "usbser.sys");
// Every INF this suite can get published carries this line, so earlier runs' are found by it.
const std::string our_inf_marker = "cdc-install";
const std::string stale_inf = replace_all(example_inf, "1.0.0.0", "0.9.0.0");

// Locator scripts that leave the case's layout as temploc.txt, the second after a line of its own.
const std::string layout_locator = "@echo off\r\ncopy /b /y layout.txt temploc.txt >nul\r\n";
const std::string chatty_locator =
    "@echo off\r\necho Locating the staging directory\r\ncopy /b /y layout.txt temploc.txt >nul\r\n";

enum class Inf { example, missing, rejected };

struct Case {
    const char* name;
    // The package folder: the example package, changed as these say.
    Inf inf = Inf::example;
    bool catalog = true;
    bool driver = true;
    std::string locator;  // findtemp.bat; empty: the example package's own
    std::string layout;   // what the locator leaves as temploc.txt; "@" stands for staging_folder
    std::string staging_folder_name = "stage";  // created in the case folder
    // Around the run.
    std::string before_program;  // cmd commands that run first, in the same cmd
    std::string dll_overrides;   // WINEDLLOVERRIDES for the run, on top of the prefix's own
    bool planted_dll = false;    // a version.dll that leaves a marker when loaded is in the folder
    std::string existing_driver;  // non-empty: a driver file is already in place
    bool stale_staged_inf = false;  // an earlier run's staged INF waits in the staging folder
    // What the user sees.
    std::string output;
    int status = 0;
    bool stages = true;          // the staged INF and catalog appear in the staging folder
    bool places_driver = true;   // the run gets as far as placing the driver file
    bool published = true;
};

std::ostream& operator<<(std::ostream& os, const Case& c) { return os << c.name; }

const Case cases[] = {
    {.name = "main_path_with_the_example_locator"},
    {.name = "inf_missing",
     .inf = Inf::missing,
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .output = "Cannot find usbcdckav.inf file!\r\r\n",
     .published = false},
    {.name = "inf_rejected",
     .inf = Inf::rejected,
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .output = "System Error! code 3758096384\r\r\n",
     .published = false},
    {.name = "locator_output_comes_first",
     .inf = Inf::missing,
     .locator = chatty_locator,
     .layout = "TEMP=@\r\n",
     .output = "Locating the staging directory\r\nCannot find usbcdckav.inf file!\r\r\n",
     .published = false},
    {.name = "stale_staged_inf_handed_over",
     .inf = Inf::missing,
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .stale_staged_inf = true},
    {.name = "existing_driver_untouched",
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .existing_driver = "a driver file that was here first\r\n"},
    {.name = "driver_missing", .driver = false, .locator = layout_locator, .layout = "TEMP=@\r\n"},
    // The copy fails silently; the setup library then misses the catalog the INF names.
    {.name = "catalog_missing",
     .catalog = false,
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .output = "Cannot find usbcdckav.inf file!\r\r\n",
     .published = false},
    {.name = "layout_crlf", .locator = layout_locator, .layout = "TEMP=@\r\nTMP=C:\\elsewhere\r\n"},
    {.name = "layout_lf", .locator = layout_locator, .layout = "TEMP=@\nTMP=C:\\elsewhere\n"},
    {.name = "layout_empty_value_stages_in_drive_root", .locator = layout_locator, .layout = "TEMP=\r\n"},
    {.name = "layout_trailing_backslash", .locator = layout_locator, .layout = "TEMP=@\\\r\n"},
    {.name = "layout_blanks_kept",
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .staging_folder_name = "my staging folder"},
    // "C:\cases\staging_directory_too_long\" and 150 characters: 186 in all.
    {.name = "staging_directory_too_long",
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .staging_folder_name = std::string(150, 'x'),
     .output = "Staging directory is too long!\r\r\n",
     .status = 1,
     .stages = false,
     .places_driver = false,
     .published = false},
    // The CR before the CR LF stays in the value, and Windows takes no path with a CR in it. Only
    // a Windows runtime shows this: a reader in text mode would drop that CR there and stage.
    {.name = "layout_cr_before_crlf_kept",
     .locator = layout_locator,
     .layout = "TEMP=@\r\r\n",
     .output = "System Error! code 123\r\r\n",
     .stages = false,
     .published = false},
    {.name = "comspec_removed",
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .before_program = "set COMSPEC=&& "},
    // Native first, as Windows takes any DLL that is not a KnownDLL from the program's folder.
    {.name = "planted_dll_not_loaded",
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .dll_overrides = "version=n,b",
     .planted_dll = true},
    {.name = "setup_library_unavailable",
     .locator = layout_locator,
     .layout = "TEMP=@\r\n",
     .dll_overrides = "setupapi=",
     .output = "System Error! code 126\r\r\n",
     .published = false},
};

struct ProgramRun {
    std::string output;
    int status;
};

// Runs a shell command; its standard output and exit status.
ProgramRun run_shell(const std::string& command) {
    ProgramRun run{"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) run.output.append(chunk, n);
    const int wait_status = pclose(pipe);
    if (WIFEXITED(wait_status)) run.status = WEXITSTATUS(wait_status);
    return run;
}

// Runs the program in a package folder under C: through the prefix script, as a user would from
// a command prompt in that folder.
ProgramRun run_program(const fs::path& package_folder, const Case& c) {
    std::string command = "cd '" + package_folder.string() + "' && WINEDLLOVERRIDES='" +
                          c.dll_overrides + "' '" WINE_PREFIX_SCRIPT "' " + architecture().name +
                          " '" + architecture().prefix.string() + "' run ";
    command += c.before_program.empty() ? "cdc-install.exe"
                                        : "cmd /c '" + c.before_program + "cdc-install.exe'";
    return run_shell(command);
}

// What the setup library holds that came from this suite, by content, whatever the file's name.
std::map<fs::path, std::string> our_published_infs() {
    std::map<fs::path, std::string> ours;
    for (const auto& entry : fs::directory_iterator(architecture().published_infs)) {
        const std::string bytes = read_file(entry.path());
        if (entry.path().extension() == ".inf" && bytes.find(our_inf_marker) != std::string::npos)
            ours[entry.path()] = bytes;
    }
    return ours;
}

class InstallationUnderWine : public testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        const Architecture& a = architecture();
        if (a.name.empty()) FAIL() << "CDC_ARCHITECTURE names no build (x86 or x64); ctest sets it";
        if (fs::exists(a.prefix / "system.reg") && fs::exists(a.exe)) return;

        // The probe tells a machine that cannot run this build (a skip, also under CI) from
        // a missing install; its first line says which.
        const ProgramRun probe = run_shell("'" WINE_PREFIX_SCRIPT "' " + a.name + " '" +
                                           a.prefix.string() + "' probe 2>&1");
        const std::string reason = probe.output.substr(0, probe.output.find('\n'));
        if (probe.status == 77 && reason.find("Exec format error") != std::string::npos)
            GTEST_SKIP() << reason;

        std::string missing;
        if (probe.status != 0) missing = reason;
        else if (!fs::exists(a.prefix / "system.reg"))
            missing = "no " + a.name + " Wine prefix at " + a.prefix.string() + " (its creation failed)";
        else
            missing = a.exe.string() + " is not built (make build builds it)";
        const bool ci = std::getenv("CI") && std::string(std::getenv("CI")) == "true";
        if (ci) FAIL() << missing;
        GTEST_SKIP() << missing;
    }
};

TEST_P(InstallationUnderWine, DoesWhatTheUserExpects) {
    const Case& c = GetParam();
    const Architecture& a = architecture();
    const std::string case_windows = std::string("C:\\cases\\") + c.name;
    const fs::path case_folder = unix_path(case_windows);
    const std::string staging_windows = case_windows + "\\" + c.staging_folder_name;

    // The package folder and the machine as this case finds them.
    fs::remove_all(case_folder);
    fs::create_directories(unix_path(staging_windows));
    for (const auto& stale : {a.drive_c / "usbcdckav.inf", a.drive_c / "usbcdckav.cat"}) fs::remove(stale);
    for (const auto& user : fs::directory_iterator(a.drive_c / "users"))
        for (const char* name : {"usbcdckav.inf", "usbcdckav.cat"}) fs::remove(user.path() / "Temp" / name);
    for (const auto& [path, bytes] : our_published_infs()) fs::remove(path);

    std::map<std::string, std::string> package;
    package["cdc-install.exe"] = read_file(a.exe);
    package["findtemp.bat"] = c.locator.empty() ? read_file(fs::path(EXAMPLE_PACKAGE) / "findtemp.bat") : c.locator;
    if (c.inf == Inf::example) package["usbcdckav.inf"] = example_inf;
    if (c.inf == Inf::rejected) package["usbcdckav.inf"] = "This is no INF file.\r\n";
    if (c.catalog) package["usbcdckav.cat"] = example_catalog;
    if (c.driver) package["usbser.sys"] = example_driver;
    if (!c.layout.empty()) package["layout.txt"] = replace_all(c.layout, "@", staging_windows);
    if (c.planted_dll) {
        ASSERT_TRUE(fs::exists(a.planted_dll)) << a.planted_dll << " is not built (make build builds it)";
        package["version.dll"] = read_file(a.planted_dll);
    }
    for (const auto& [name, bytes] : package) write_file(case_folder / name, bytes);

    if (c.stale_staged_inf) write_file(unix_path(staging_windows) / "usbcdckav.inf", stale_inf);
    fs::remove(a.driver_destination);
    if (!c.existing_driver.empty()) write_file(a.driver_destination, c.existing_driver);

    const fs::path planted_dll_marker = a.drive_c / "planted-dll-ran";
    fs::remove(planted_dll_marker);

    const ProgramRun run = run_program(case_folder, c);

    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.status, c.status);
    EXPECT_FALSE(fs::exists(planted_dll_marker)) << "a DLL from the package folder ran in the program";

    // The staging directory is whatever the locator left after the prefix: the case's folder,
    // the prefix's TEMP for the example's own locator, or the root of C: for an empty value.
    const std::string temploc = read_file(case_folder / "temploc.txt");
    const std::string value = temploc.substr(5, temploc.find_first_of("\r\n", 5) - 5);
    const fs::path staged_in = value.empty() ? a.drive_c : unix_path(value);
    if (!c.layout.empty()) {
        EXPECT_EQ(temploc, package["layout.txt"]) << "the locator did not run";
    }

    std::optional<std::string> staged_inf, staged_catalog, driver;
    if (c.stale_staged_inf) staged_inf = stale_inf;
    if (c.stages && package.count("usbcdckav.inf")) staged_inf = package["usbcdckav.inf"];
    if (c.stages && package.count("usbcdckav.cat")) staged_catalog = package["usbcdckav.cat"];
    if (!c.existing_driver.empty()) driver = c.existing_driver;
    else if (c.places_driver && package.count("usbser.sys")) driver = package["usbser.sys"];

    EXPECT_EQ(file_if_any(staged_in / "usbcdckav.inf"), staged_inf) << "staged INF in " << staged_in;
    EXPECT_EQ(file_if_any(staged_in / "usbcdckav.cat"), staged_catalog) << "staged catalog in " << staged_in;
    EXPECT_EQ(file_if_any(a.driver_destination), driver) << "driver file";

    const auto published = our_published_infs();
    if (c.published) {
        ASSERT_EQ(published.size(), 1u) << "one INF published in C:\\windows\\inf";
        EXPECT_EQ(published.begin()->second, staged_inf.value_or("")) << published.begin()->first;
    } else {
        EXPECT_TRUE(published.empty()) << published.begin()->first << " published";
    }

    for (const auto& [name, bytes] : package)
        EXPECT_EQ(file_if_any(case_folder / name), bytes) << name << " in the package folder";
}

INSTANTIATE_TEST_SUITE_P(Cases, InstallationUnderWine, testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
