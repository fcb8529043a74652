#include "installer/installation_sequence.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "recording_platform.hpp"
#include "scratch_directory.hpp"

using namespace std::string_literals;

namespace {

const std::string run_locator = "system(\"findtemp.bat\")";

std::string copy(const std::string& from, const std::string& to, bool fail_if_exists) {
    return "CopyFileA(\"" + from + "\", \"" + to + "\", " + (fail_if_exists ? "TRUE" : "FALSE") + ")";
}

std::string hand_over(const std::string& inf) {
    return "SetupCopyOEMInfA(\"" + inf + "\", NULL, 0, 0, NULL, 0, NULL, NULL)";
}

// The calls of a run that stages into this directory, up to and including the hand-over.
std::vector<std::string> staging_run(const std::string& staging_directory) {
    return {
        run_locator,
        copy(".\\usbcdckav.inf", staging_directory + "\\usbcdckav.inf", false),
        copy(".\\usbcdckav.cat", staging_directory + "\\usbcdckav.cat", false),
        copy(".\\usbser.sys", "C:\\WINDOWS\\system32\\drivers\\usbser.sys", true),
        hand_over(staging_directory + "\\usbcdckav.inf"),
    };
}

class InstallationSequence : public testing::Test {
protected:
    ScratchDirectory scratch;
    RecordingPlatform platform;
};

TEST_F(InstallationSequence, StagesPlacesAndHandsOverInOrder) {
    platform.temp_location_bytes = "TEMP=C:\\Users\\me\\AppData\\Local\\Temp\r\nPATH=C:\\x\r\n";

    EXPECT_EQ(installer::run_installation(platform), 0);

    EXPECT_EQ(platform.calls, staging_run("C:\\Users\\me\\AppData\\Local\\Temp"));
    EXPECT_EQ(platform.output, "");
}

TEST_F(InstallationSequence, MakesEveryCopyAndHandsOverWhenCopiesFail) {
    platform.temp_location_bytes = "TEMP=C:\\T\n";
    platform.copies_succeed = false;
    platform.hand_over_succeeds = false;
    platform.error_code = 2;

    EXPECT_EQ(installer::run_installation(platform), 0);

    std::vector<std::string> expected = staging_run("C:\\T");
    expected.insert(expected.end(), {"GetLastError()", "stdout"});
    EXPECT_EQ(platform.calls, expected);
}

struct HandOverOutcome {
    const char* name;
    bool succeeds;
    std::uint32_t error_code;
    std::string message;
};

std::ostream& operator<<(std::ostream& os, const HandOverOutcome& o) { return os << o.name; }

class HandOverReport : public InstallationSequence,
                       public testing::WithParamInterface<HandOverOutcome> {};

TEST_P(HandOverReport, WritesTheMessageAndCompletes) {
    const HandOverOutcome& outcome = GetParam();
    platform.temp_location_bytes = "TEMP=C:\\T\r\n";
    platform.hand_over_succeeds = outcome.succeeds;
    platform.error_code = outcome.error_code;

    EXPECT_EQ(installer::run_installation(platform), 0);
    EXPECT_EQ(platform.output, outcome.message);

    // The last-error code is read once, right after a failed hand-over, and never after success.
    std::vector<std::string> expected = staging_run("C:\\T");
    if (!outcome.succeeds) expected.insert(expected.end(), {"GetLastError()", "stdout"});
    EXPECT_EQ(platform.calls, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, HandOverReport,
    testing::Values(
        HandOverOutcome{"success", true, 2, ""},
        HandOverOutcome{"file_not_found", false, 2, "Cannot find usbcdckav.inf file!\r\n"},
        HandOverOutcome{"access_denied", false, 5, "System Error! code 5\r\n"},
        HandOverOutcome{"file_exists", false, 80, "System Error! code 80\r\n"},
        HandOverOutcome{"top_bit_set", false, 0x80000000u, "System Error! code 2147483648\r\n"},
        HandOverOutcome{"setupapi_code", false, 0xE000022Fu, "System Error! code 3758096943\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct Composition {
    const char* name;
    std::string value;  // what follows the prefix on the first line of temploc.txt
    std::string staged_prefix;
};

std::ostream& operator<<(std::ostream& os, const Composition& c) { return os << c.name; }

const std::string dir185 = "C:\\" + std::string(182, 't');
const std::string dir190 = std::string(190, 'u');

class StagedPaths : public InstallationSequence, public testing::WithParamInterface<Composition> {};

TEST_P(StagedPaths, AppendTheNamesToTheDirectoryAsRead) {
    const Composition& c = GetParam();
    platform.temp_location_bytes = "TEMP=" + c.value + "\r\n";

    EXPECT_EQ(installer::run_installation(platform), 0);

    EXPECT_EQ(platform.calls, staging_run(c.staged_prefix));
}

INSTANTIATE_TEST_SUITE_P(
    Directories, StagedPaths,
    testing::Values(Composition{"plain", "C:\\Temp", "C:\\Temp"},
                    Composition{"trailing_backslash_kept", "C:\\Temp\\", "C:\\Temp\\"},
                    Composition{"empty_is_root_of_current_drive", "", ""},
                    Composition{"blanks_kept", " C:\\My Temp ", " C:\\My Temp "},
                    Composition{"longest_that_fits_185", dir185, dir185},
                    Composition{"counted_up_to_first_nul", "C:\\A\0"s + dir190, "C:\\A"}),
    [](const auto& info) { return std::string(info.param.name); });

class TooLongStagingDirectory : public InstallationSequence,
                                public testing::WithParamInterface<std::size_t> {};

TEST_P(TooLongStagingDirectory, StopsBeforeAnyCopyAndFails) {
    platform.temp_location_bytes = "TEMP=" + std::string(GetParam(), 'x') + "\r\n";

    EXPECT_EQ(installer::run_installation(platform), 1);

    EXPECT_EQ(platform.calls, (std::vector<std::string>{run_locator, "stdout"}));
    EXPECT_EQ(platform.output, "Staging directory is too long!\r\n");
}

INSTANTIATE_TEST_SUITE_P(Lengths, TooLongStagingDirectory, testing::Values(186u, 199u, 250u));

}  // namespace
