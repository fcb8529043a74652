#include "installer/temp_location.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "recording_platform.hpp"
#include "scratch_directory.hpp"

using namespace std::string_literals;

namespace {

constexpr int end_of_file = std::char_traits<char>::eof();
constexpr char untouched = '\x7F';

struct Layout {
    const char* name;
    std::optional<std::string> file;  // bytes of temploc.txt; none: no file at all
    std::string value;                // what is stored before the terminating NUL
    int next;                         // the next byte left unread in the file
};

std::ostream& operator<<(std::ostream& os, const Layout& layout) { return os << layout.name; }

const std::string dir199(199, 'd');
const std::string dir200 = dir199 + 'e';

const Layout layouts[] = {
    {"crlf", "TEMP=C:\\Temp\r\nPATH=C:\\x\r\n"s, "C:\\Temp", 'P'},
    {"lf", "TEMP=C:\\Temp\nPATH=C:\\x\n"s, "C:\\Temp", 'P'},
    {"no_line_end", "TEMP=C:\\Temp"s, "C:\\Temp", end_of_file},
    {"short_first_line_runs_into_next", "AB\nCDEFGH\nX"s, "EFGH", 'X'},
    {"short_first_line_crlf_counts_once", "AB\r\nCDEFGH\r\nX"s, "EFGH", 'X'},
    {"ctrl_z_ends_value", "TEMP=C:\\Te\x1Amp\n"s, "C:\\Te", 'm'},
    {"ctrl_z_in_prefix_ends_file", "TE\x1AMP=C:\\Temp\n"s, "", 'M'},
    {"lone_cr_is_stored", "TEMP=C:\\A\rB\nX"s, "C:\\A\rB", 'X'},
    {"cr_before_crlf_is_stored", "TEMP=C:\\A\r\r\nX"s, "C:\\A\r", 'X'},
    {"cr_at_end_of_file_is_stored", "TEMP=C:\\A\r"s, "C:\\A\r", end_of_file},
    {"blanks_and_quotes_kept", "TEMP= \"C:\\My Temp\" \n"s, " \"C:\\My Temp\" ", end_of_file},
    {"byte_order_mark_is_prefix", "\xEF\xBB\xBFTEMP=C:\\T\n"s, "MP=C:\\T", end_of_file},
    {"nul_is_stored", "TEMP=C:\\A\0B\nX"s, "C:\\A\0B"s, 'X'},
    {"value_of_199_taken_whole", "TEMP=" + dir199 + "\nX", dir199, '\n'},
    {"value_of_200_cut_to_199", "TEMP=" + dir200 + "\nX", dir199, 'e'},
    {"crlf_right_after_198", "TEMP=" + dir199.substr(1) + "\r\nX", dir199.substr(1), 'X'},
    {"empty_file", ""s, "", end_of_file},
    {"prefix_only", "TEMP="s, "", end_of_file},
    {"file_ends_inside_prefix", "TEM"s, "", end_of_file},
    {"empty_value", "TEMP=\r\nPATH=C:\\x\r\n"s, "", 'P'},
    {"missing_file", std::nullopt, "", end_of_file},
};

class TempLocationFile : public testing::TestWithParam<Layout> {
protected:
    ScratchDirectory scratch;
};

TEST_P(TempLocationFile, YieldsTheStagingDirectory) {
    const Layout& layout = GetParam();
    RecordingPlatform platform;
    platform.temp_location_bytes = layout.file;

    char staging_directory[installer::path_buffer_size];
    std::fill(std::begin(staging_directory), std::end(staging_directory), untouched);
    std::ifstream fin;
    installer::obtain_staging_directory(platform, fin, staging_directory);

    const std::size_t n = layout.value.size();
    EXPECT_EQ(std::string(staging_directory, n), layout.value);
    EXPECT_EQ(staging_directory[n], '\0');
    EXPECT_TRUE(std::all_of(staging_directory + n + 1, std::end(staging_directory),
                            [](char c) { return c == untouched; }))
        << "written past the value's terminator";

    // The reader stops where the value ends and leaves the rest of the file unread.
    fin.clear();
    EXPECT_EQ(fin.get(), layout.next);
    EXPECT_EQ(platform.calls, std::vector<std::string>{"system(\"findtemp.bat\")"});
}

INSTANTIATE_TEST_SUITE_P(Layouts, TempLocationFile, testing::ValuesIn(layouts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
