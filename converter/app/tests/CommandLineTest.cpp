#include <gtest/gtest.h>

#include <vector>

#include "TalvenaCommandLine.h"

namespace {

struct ParseCase {
    const char* name;
    std::vector<const wchar_t*> args;  // without the program
    int result;
    std::vector<const wchar_t*> sources;
    const wchar_t* outputFolder;
    int usage;
    int scan;
};

class CommandLineParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineParse, GivesSourcesFolderAndFlags)
{
    const ParseCase& c = GetParam();
    std::vector<const wchar_t*> argv{L"Talvena.exe"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    CTalvenaCommandLine line;
    EXPECT_EQ(c.result, line.Parse(static_cast<int>(argv.size()), argv.data()));
    ASSERT_EQ(static_cast<int>(c.sources.size()), line.m_sources.GetSize());
    for (size_t i = 0; i < c.sources.size(); ++i)
        EXPECT_STREQ(c.sources[i], line.m_sources[static_cast<int>(i)].GetString());
    EXPECT_STREQ(c.outputFolder, line.m_outputFolder.GetString());
    EXPECT_EQ(c.usage, line.m_usage);
    EXPECT_EQ(c.scan, line.m_scanSubfolders);
}

const ParseCase kParseCases[] = {
    {"NoArguments", {}, 0, {}, L"", 0, 0},
    {"SourcesInOrder", {L"b.gif", L"a.gif"}, 1, {L"b.gif", L"a.gif"}, L"", 0, 0},
    {"OutputFolderTakesNextArgument", {L"a.gif", L"/o", L"C:\\out", L"b.gif"}, 1, {L"a.gif", L"b.gif"}, L"C:\\out", 0, 0},
    {"DashWorksLikeSlash", {L"-o", L"out", L"-s"}, 1, {}, L"out", 0, 1},
    {"OutputSwitchLastIsIgnored", {L"a.gif", L"/o"}, 1, {L"a.gif"}, L"", 0, 0},
    {"UpperCaseSwitchIsUnknown", {L"/O", L"x.gif"}, 1, {L"x.gif"}, L"", 0, 0},
    {"WholeWordSwitchIsUnknown", {L"/help", L"/out"}, 1, {}, L"", 0, 0},
    {"QuestionMarkAsksForUsage", {L"a.gif", L"/?"}, 1, {L"a.gif"}, L"", 1, 0},
    {"HAsksForUsage", {L"-h"}, 1, {}, L"", 1, 0},
    {"HyphenPathIsASwitch", {L"-clip.gif", L"/path.gif"}, 1, {}, L"", 0, 0},
    {"ScanSwitch", {L"/s", L"folder"}, 1, {L"folder"}, L"", 0, 1},
};

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineParse, ::testing::ValuesIn(kParseCases),
                         [](const ::testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

TEST(CommandLineUsage, NamesTheSwitches)
{
    EXPECT_STREQ(L"Usage: Talvena <source file1> [<source file2> <source file3> ...] [/o <output folder>]",
                 CTalvenaCommandLine::UsageText());
}

} // namespace
