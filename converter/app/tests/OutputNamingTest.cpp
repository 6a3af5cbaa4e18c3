#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "ConverterPaths.h"
#include "OutputResolver.h"
#include "ScriptedPrompt.h"
#include "CatalogTestSupport.h"

namespace {

CString FolderPath(const ScratchFolder& folder)
{
    return FromFsPath(folder.Root());
}

CString Put(const ScratchFolder& folder, const char* name, const std::string& content = "x")
{
    WriteTextFile(folder.Path(name), content);
    return folder.File(name);
}

TEST(UniqueNames, CountUpPastTakenFilesAndFolders)
{
    ScratchFolder folder;
    EXPECT_EQ(CString(L"clip"), MakeUniqueFileName(FolderPath(folder), L"clip", L".mp4"));
    Put(folder, "clip.mp4");
    EXPECT_EQ(CString(L"clip (1)"), MakeUniqueFileName(FolderPath(folder), L"clip", L".mp4"));
    std::filesystem::create_directory(folder.Path("clip (1).mp4"));
    EXPECT_EQ(CString(L"clip (2)"), MakeUniqueFileName(FolderPath(folder), L"clip", L".mp4"));
    EXPECT_EQ(folder.File("clip (2).mp4"), MakeUniqueFilePath(FolderPath(folder), L"clip", L".mp4"));
    // Another extension is another name.
    EXPECT_EQ(CString(L"clip"), MakeUniqueFileName(FolderPath(folder), L"clip", L".avi"));
}

TEST(OutputPaths, SplitIntoFolderTitleAndExtension)
{
    struct {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* title;
        const wchar_t* extension;
    } const cases[] = {
        {L"out/clip.avi", L"out", L"clip", L".avi"},
        {L"out/my.clip.mp4", L"out", L"my.clip", L".mp4"},
        {L"out/noext", L"out", L"noext", L""},
        {L"clip.gif", L"", L"clip", L".gif"},
#ifdef _WIN32
        {L"C:\\a b\\[Converting] x.mp4", L"C:\\a b", L"[Converting] x", L".mp4"},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.path).ToUtf8());
        CString folder, title, extension;
        SplitOutputPath(c.path, folder, title, extension);
        EXPECT_STREQ(c.folder, folder.GetString());
        EXPECT_STREQ(c.title, title.GetString());
        EXPECT_STREQ(c.extension, extension.GetString());
        EXPECT_STREQ(c.title, GetOutputTitle(c.path).GetString());
    }
}

TEST(OutputPaths, NewTitlesMustStayInTheFolder)
{
    EXPECT_TRUE(IsAcceptableNewTitle(L"clip (2)"));
    EXPECT_TRUE(IsAcceptableNewTitle(L"my.clip"));
    EXPECT_TRUE(IsAcceptableNewTitle(L"\u00e9t\u00e9"));
    for (const wchar_t* bad : {L"", L"   ", L"..\\up", L"../up", L"sub/name", L"C:name", L"a*b", L"a?b", L"a|b",
                               L"a\"b", L"a<b", L"a>b", L"tab\there"}) {
        SCOPED_TRACE(CString(bad).ToUtf8());
        EXPECT_FALSE(IsAcceptableNewTitle(bad));
    }
}

TEST(OutputPaths, SameFileOnlyForOneExistingFile)
{
    ScratchFolder folder;
    const CString a = Put(folder, "a.gif");
    const CString b = Put(folder, "b.gif");
    EXPECT_TRUE(IsSameFile(a, a));
    EXPECT_TRUE(IsSameFile(a, FolderPath(folder) + kPathSeparator + L"." + kPathSeparator + L"a.gif"));
    EXPECT_FALSE(IsSameFile(a, b));
    EXPECT_FALSE(IsSameFile(a, folder.File("missing.gif")));
#ifdef _WIN32
    CString upper = a;
    upper.MakeUpper();
    EXPECT_TRUE(IsSameFile(a, upper));
#endif
}

TEST(GifFilter, FullAndShortForms)
{
    EXPECT_STREQ(L"Animated GIF Files (*.gif)|*.gif|All Files (*.*)|*.*||", GetGifFilter(1).GetString());
    EXPECT_STREQ(L"*.gif|*.*", GetGifFilter(0).GetString());
}

struct ResolveCase {
    const char* name;
    int policy;
    bool targetExists;
    bool targetIsSource;
    std::vector<ScriptedPrompt::Answer> answers;
    int decision;
    const wchar_t* resultName;  // file name of the path afterwards
    std::vector<const wchar_t*> asked;
};

class ResolveOutput : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveOutput, DecidesAndNeverOverwritesTheSource)
{
    const ResolveCase& c = GetParam();
    ScratchFolder folder;
    const CString source = Put(folder, "anim.gif", "source");
    Put(folder, "taken.mp4");
    CString path = c.targetIsSource ? source : folder.File("anim.mp4");
    if (c.targetExists && !c.targetIsSource)
        Put(folder, "anim.mp4", "old");

    ScriptedPrompt prompt(c.answers);
    EXPECT_EQ(c.decision, ResolveOutputPath(path, c.policy, source, prompt, nullptr));
    EXPECT_EQ(FolderPath(folder) + kPathSeparator + c.resultName, path);
    ASSERT_EQ(c.asked.size(), prompt.m_asked.size());
    for (size_t i = 0; i < c.asked.size(); ++i)
        EXPECT_STREQ(c.asked[i], prompt.m_asked[i].GetString());
    EXPECT_FALSE(IsSameFile(path, source) && (c.decision == EXISTS_OVERWRITE || c.decision == OVERWRITE_ALWAYS));
    EXPECT_EQ("source", ReadTextFile(folder.Path("anim.gif")));
}

const ResolveCase kResolveCases[] = {
    {"NoFileNoPrompt", OVERWRITE_PROMPT, false, false, {}, OVERWRITE_PROMPT, L"anim.mp4", {}},
    {"AlwaysOverwrite", OVERWRITE_ALWAYS, true, false, {}, OVERWRITE_ALWAYS, L"anim.mp4", {}},
    {"AlwaysOverwriteNeverTheSource", OVERWRITE_ALWAYS, true, true, {}, OVERWRITE_ALWAYS, L"anim (1).gif", {}},
    {"AlwaysCancelAnExistingFile", OVERWRITE_CANCEL, true, false, {}, OVERWRITE_CANCEL, L"anim.mp4", {}},
    {"AlwaysCancelConvertsANewFile", OVERWRITE_CANCEL, false, false, {}, 0, L"anim.mp4", {}},
    {"AlwaysNewName", OVERWRITE_NEW_NAME, true, false, {}, OVERWRITE_NEW_NAME, L"anim (1).mp4", {}},
    {"AlwaysNewNameOfAFreeFile", OVERWRITE_NEW_NAME, false, false, {}, OVERWRITE_NEW_NAME, L"anim.mp4", {}},
    {"AnswerNewName", OVERWRITE_PROMPT, true, false, {{EXISTS_NEW_NAME, L"fresh"}}, EXISTS_NEW_NAME, L"fresh.mp4",
     {L"anim.mp4"}},
    {"AnswerNewNameThatIsTakenAsksAgain", OVERWRITE_PROMPT, true, false,
     {{EXISTS_NEW_NAME, L"taken"}, {OVERWRITE_NEW_NAME, L"fresh"}}, OVERWRITE_NEW_NAME, L"fresh.mp4",
     {L"anim.mp4", L"taken.mp4"}},
    {"AnswerOverwrite", OVERWRITE_PROMPT, true, false, {{EXISTS_OVERWRITE, nullptr}}, EXISTS_OVERWRITE, L"anim.mp4",
     {L"anim.mp4"}},
    {"AnswerOverwriteRemembered", OVERWRITE_PROMPT, true, false, {{OVERWRITE_ALWAYS, nullptr}}, OVERWRITE_ALWAYS,
     L"anim.mp4", {L"anim.mp4"}},
    {"AnswerOverwriteOfTheSourceTakesANewName", OVERWRITE_PROMPT, true, true, {{EXISTS_OVERWRITE, nullptr}},
     EXISTS_OVERWRITE, L"anim (1).gif", {L"anim.gif"}},
    {"RenameOntoTheSourceAsksAgain", OVERWRITE_PROMPT, true, true,
     {{EXISTS_NEW_NAME, L"anim"}, {OVERWRITE_ALWAYS, nullptr}}, OVERWRITE_ALWAYS, L"anim (1).gif",
     {L"anim.gif", L"anim.gif"}},
    {"AnswerCancel", OVERWRITE_PROMPT, true, false, {{EXISTS_CANCEL, nullptr}}, EXISTS_CANCEL, L"anim.mp4",
     {L"anim.mp4"}},
    {"AnswerCancelRemembered", OVERWRITE_PROMPT, true, false, {{OVERWRITE_CANCEL, nullptr}}, OVERWRITE_CANCEL,
     L"anim.mp4", {L"anim.mp4"}},
    {"FailedPromptCancels", OVERWRITE_PROMPT, true, false, {{-1, nullptr}}, EXISTS_CANCEL, L"anim.mp4",
     {L"anim.mp4"}},
    {"RefusedNamesAskAgain", OVERWRITE_PROMPT, true, false,
     {{EXISTS_NEW_NAME, L""}, {EXISTS_NEW_NAME, L"..\\up"}, {EXISTS_NEW_NAME, L"../up"}, {EXISTS_NEW_NAME, L"ok"}},
     EXISTS_NEW_NAME, L"ok.mp4", {L"anim.mp4", L"anim.mp4", L"anim.mp4", L"anim.mp4"}},
    {"UnknownAnswerAsksAgain", OVERWRITE_PROMPT, true, false, {{7, nullptr}, {EXISTS_CANCEL, nullptr}},
     EXISTS_CANCEL, L"anim.mp4", {L"anim.mp4", L"anim.mp4"}},
    {"UnknownPolicyPrompts", 5, true, false, {{EXISTS_OVERWRITE, nullptr}}, EXISTS_OVERWRITE, L"anim.mp4",
     {L"anim.mp4"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ResolveOutput, ::testing::ValuesIn(kResolveCases),
                         [](const ::testing::TestParamInfo<ResolveCase>& info) { return info.param.name; });

TEST(ResolveOutputStop, AStopEndsThePromptingAsCancel)
{
    ScratchFolder folder;
    const CString source = Put(folder, "anim.gif");
    Put(folder, "anim.mp4");
    Put(folder, "taken.mp4");
    CString path = folder.File("anim.mp4");
    CStopFlag stop{0};
    // The user renames onto another taken name while a stop comes in: no second prompt.
    ScriptedPrompt prompt({{EXISTS_NEW_NAME, L"taken"}, {EXISTS_OVERWRITE, nullptr}});
    prompt.m_onAsk = [&] { stop = 2; };
    EXPECT_EQ(EXISTS_CANCEL, ResolveOutputPath(path, OVERWRITE_PROMPT, source, prompt, &stop));
    EXPECT_EQ(1u, prompt.m_asked.size());

    // Already stopped: no prompt at all.
    ScriptedPrompt never({});
    path = folder.File("anim.mp4");
    EXPECT_EQ(EXISTS_CANCEL, ResolveOutputPath(path, OVERWRITE_PROMPT, source, never, &stop));
    EXPECT_TRUE(never.m_asked.empty());
}

TEST(ResolveDecisions, OnlyAnswersElevenTwelveThirteenAreRemembered)
{
    for (int d : {0, 1, 2, 3, 5})
        EXPECT_FALSE(IsRememberedDecision(d)) << d;
    for (int d : {11, 12, 13})
        EXPECT_TRUE(IsRememberedDecision(d)) << d;
}

} // namespace
