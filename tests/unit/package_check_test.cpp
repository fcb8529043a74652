#include "tools/package_check.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scratch_directory.hpp"

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string example_inf = read_file(fs::path(EXAMPLE_PACKAGE) / "usbcdckav.inf");

// The example INF with one line replaced.
std::string example_with(const std::string& line, const std::string& replacement) {
    std::string inf = example_inf;
    const auto at = inf.find(line);
    if (at == std::string::npos) throw std::logic_error("no line " + line);
    return inf.replace(at, line.size(), replacement);
}

std::string utf16le(const std::string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char c : text) bytes += {c, '\0'};
    return bytes;
}

struct InfCase {
    const char* name;
    std::string inf;
    std::vector<std::string> problems;  // a phrase of each problem expected, in order
};

std::ostream& operator<<(std::ostream& os, const InfCase& c) { return os << c.name; }

const std::string version_head = "[Version]\r\nSignature=\"$Windows NT$\"\r\n";

const InfCase inf_cases[] = {
    {"example_is_right", example_inf, {}},
    {"example_in_utf16_is_right", utf16le(example_inf), {}},
    {"no_version_section", "[Strings]\r\nSignature=\"$Windows NT$\"\r\nCatalogFile=usbcdckav.cat\r\n",
     {"no [Version] section"}},
    {"version_section_in_other_case", "[version]\nsignature=\"$Windows NT$\"\ncatalogfile=usbcdckav.cat\n", {}},
    {"no_signature", example_with("Signature=\"$Windows NT$\"\r\n", ""), {"no Signature"}},
    {"empty_signature", example_with("Signature=\"$Windows NT$\"", "Signature="), {"no Signature"}},
    {"signature_only_in_a_comment", example_with("Signature=\"$Windows NT$\"", "; Signature=\"$Windows NT$\""),
     {"no Signature"}},
    {"catalog_of_another_name", example_with("CatalogFile=usbcdckav.cat", "CatalogFile=mydevice.cat"),
     {"names the catalog \"mydevice.cat\" (CatalogFile)"}},
    {"catalog_of_another_name_in_utf16",
     utf16le(example_with("CatalogFile=usbcdckav.cat", "CatalogFile=mydevice.cat")), {"\"mydevice.cat\""}},
    {"catalog_quoted_and_commented", example_with("CatalogFile=usbcdckav.cat", "CatalogFile = \"UsbCdcKav.CAT\" ; ours"),
     {}},
    {"catalog_per_platform_one_wrong",
     version_head + "CatalogFile.NTx86=usbcdckav.cat\r\nCatalogFile.NTamd64=usbcdckav64.cat\r\n",
     {"\"usbcdckav64.cat\" (CatalogFile.NTamd64)"}},
    {"no_catalog", example_with("CatalogFile=usbcdckav.cat\r\n", ""), {"names no catalog"}},
    {"catalog_outside_version", version_head + "[Strings]\r\nCatalogFile=usbcdckav.cat\r\n", {"names no catalog"}},
    {"no_signature_and_catalog_of_another_name", "[Version]\r\nCatalogFile=other.cat\r\n",
     {"no Signature", "\"other.cat\""}},
    {"empty_file", "", {"no [Version] section"}},
};

class InfCheck : public testing::TestWithParam<InfCase> {};

TEST_P(InfCheck, NamesEachProblem) {
    const InfCase& c = GetParam();
    const auto problems = package_check::inf_problems(c.inf);
    ASSERT_EQ(problems.size(), c.problems.size()) << testing::PrintToString(problems);
    for (std::size_t i = 0; i < problems.size(); ++i)
        EXPECT_NE(problems[i].find(c.problems[i]), std::string::npos) << problems[i];
}

INSTANTIATE_TEST_SUITE_P(Infs, InfCheck, testing::ValuesIn(inf_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InfCheck, CatalogOfAnotherNameSaysWhatTheProgramWillReport) {
    const auto problems =
        package_check::inf_problems(example_with("CatalogFile=usbcdckav.cat", "CatalogFile=mydevice.cat"));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("code 2"), std::string::npos) << problems[0];
    EXPECT_NE(problems[0].find("Cannot find usbcdckav.inf file!"), std::string::npos) << problems[0];
}

// A copy of the example package in a scratch folder, changed per test.
class FolderCheck : public testing::Test {
protected:
    FolderCheck() {
        for (const auto& entry : fs::directory_iterator(EXAMPLE_PACKAGE))
            fs::copy_file(entry.path(), folder / entry.path().filename());
    }
    ScratchDirectory scratch;
    fs::path folder = fs::current_path();
};

TEST_F(FolderCheck, ExamplePackageIsRight) { EXPECT_EQ(package_check::folder_problems(folder), std::vector<std::string>{}); }

TEST_F(FolderCheck, NamesEachMissingFile) {
    for (const char* name : {"usbcdckav.cat", "findtemp.bat", "usbser.sys"}) fs::remove(folder / name);
    const auto problems = package_check::folder_problems(folder);
    ASSERT_EQ(problems.size(), 3u) << testing::PrintToString(problems);
    EXPECT_NE(problems[0].find("no usbcdckav.cat"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("no usbser.sys"), std::string::npos) << problems[1];
    EXPECT_NE(problems[2].find("no findtemp.bat"), std::string::npos) << problems[2];
}

TEST_F(FolderCheck, MissingInfIsNamedAndNotRead) {
    fs::remove(folder / "usbcdckav.inf");
    const auto problems = package_check::folder_problems(folder);
    ASSERT_EQ(problems.size(), 1u) << testing::PrintToString(problems);
    EXPECT_NE(problems[0].find("no usbcdckav.inf"), std::string::npos) << problems[0];
}

// Windows finds its files whatever the case of their names.
TEST_F(FolderCheck, NamesMatchInAnyCase) {
    fs::rename(folder / "usbser.sys", folder / "USBSER.SYS");
    fs::rename(folder / "usbcdckav.inf", folder / "UsbCdcKav.Inf");
    EXPECT_EQ(package_check::folder_problems(folder), std::vector<std::string>{});
}

TEST_F(FolderCheck, InfProblemsFollowTheMissingFiles) {
    fs::remove(folder / "usbser.sys");
    std::ofstream(folder / "usbcdckav.inf", std::ios::binary) << "[Version]\r\nCatalogFile=other.cat\r\n";
    const auto problems = package_check::folder_problems(folder);
    ASSERT_EQ(problems.size(), 3u) << testing::PrintToString(problems);
    EXPECT_NE(problems[0].find("no usbser.sys"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("no Signature"), std::string::npos) << problems[1];
    EXPECT_NE(problems[2].find("\"other.cat\""), std::string::npos) << problems[2];
}

TEST_F(FolderCheck, NotAFolder) {
    const auto problems = package_check::folder_problems(folder / "usbser.sys");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("is not a folder"), std::string::npos) << problems[0];
}

}  // namespace
