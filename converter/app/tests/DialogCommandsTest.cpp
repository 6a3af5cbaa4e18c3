#include <gtest/gtest.h>

#include "DialogCommands.h"
#include "PathLists.h"
#include "ThumbnailBox.h"

namespace {

// The three moments the dialog is in: nothing running, a run going on, and a run whose current
// row is the one the user selected.
DialogCommandState Idle()
{
    DialogCommandState s;
    s.rows = 3;
    s.selected = 1;
    s.selectedOtherThanCurrent = true;
    s.hasFormat = true;
    s.outputFolderEmpty = false;
    return s;
}

DialogCommandState Running()
{
    DialogCommandState s = Idle();
    s.converting = true;
    return s;
}

DialogCommandState RowRunning()
{
    DialogCommandState s = Running();
    s.firstSelectedIsCurrent = true;
    s.selectedOtherThanCurrent = false;
    return s;
}

struct RuleCase {
    unsigned id;
    bool idle;
    bool running;
    bool rowRunning;
};

TEST(DialogCommands, EachCommandInTheThreeStates)
{
    const RuleCase cases[] = {
        {ID_CONVERT_MENU, true, false, false},
        {ID_STOP_MENU, false, true, true},
        {IDC_ADVANCED, true, false, false},
        {IDC_BROWSE, true, false, false},
        {IDC_OPEN_FOLDER, true, true, true},
        {IDC_SAME_AS_INPUT, true, false, false},
        {IDC_CLOSE_WHEN_DONE, true, true, true},
        {IDC_ADD_TO_ITUNES, true, true, true},
        {ID_FORMAT_MANAGER, true, false, false},
        {ID_AUTO_PLAY, true, true, true},
        {ID_AUTO_OPEN, true, true, true},
        {ID_SHUTDOWN_WHEN_DONE, true, true, true},
        {ID_ADD_GIF, true, true, true},
        {ID_ADD_FOLDER, true, true, true},
        {ID_EDIT_PASTE_FILES, true, true, true},
        {ID_REMOVE, true, true, false},
        {ID_REMOVE_ALL, true, true, true},
        {ID_ADVANCED_OPTIONS, true, true, false},
        {ID_MEDIA_INFO, true, true, false},
        {ID_PLAY_INPUT, true, true, true},
        {ID_OPEN_INPUT_FOLDER, true, true, true},
        {ID_OPEN_OUTPUT_FOLDER, true, true, true},
        {ID_SELECT_ALL_ROWS, true, true, true},
        {ID_MINIMIZE_RESTORE, true, true, true},
        {ID_MORE, true, true, true},
        {ID_MENU, true, true, true},
        // Nothing completed yet: the output commands wait.
        {ID_PLAY_OUTPUT, false, false, false},
        {ID_PLAY_ALL_OUTPUTS, false, false, false},
        {ID_COPY_OUTPUT, false, false, false},
        {ID_COPY_ALL_OUTPUTS, false, false, false},
        {ID_ADD_TO_ITUNES_ROW, false, false, false},
        {ID_ADD_ALL_TO_ITUNES, false, false, false},
        {ID_RENAME_OUTPUT, false, false, false},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.idle, GetCommandRule(c.id, Idle()) == CommandRule::Enabled);
        EXPECT_EQ(c.running, GetCommandRule(c.id, Running()) == CommandRule::Enabled);
        EXPECT_EQ(c.rowRunning, GetCommandRule(c.id, RowRunning()) == CommandRule::Enabled);
    }
}

struct StateCase {
    const char* name;
    DialogCommandState state;
    unsigned id;
    bool enabled;
};

DialogCommandState With(DialogCommandState s, void (*change)(DialogCommandState&))
{
    change(s);
    return s;
}

TEST(DialogCommands, RulesFollowTheListAndTheChoices)
{
    const StateCase cases[] = {
        {"empty list: no convert", With(Idle(), [](DialogCommandState& s) { s.rows = 0; s.selected = 0; }), ID_CONVERT_MENU, false},
        {"empty list: no remove all", With(Idle(), [](DialogCommandState& s) { s.rows = 0; }), ID_REMOVE_ALL, false},
        {"only the running row left", With(Running(), [](DialogCommandState& s) { s.rows = 1; }), ID_REMOVE_ALL, false},
        {"no selection: no remove", With(Idle(), [](DialogCommandState& s) { s.selected = 0; s.selectedOtherThanCurrent = false; }), ID_REMOVE, false},
        {"no selection: no play input", With(Idle(), [](DialogCommandState& s) { s.selected = 0; }), ID_PLAY_INPUT, false},
        {"no selection: no media info", With(Idle(), [](DialogCommandState& s) { s.selected = 0; }), ID_MEDIA_INFO, false},
        {"same as input: no browse", With(Idle(), [](DialogCommandState& s) { s.sameAsInput = true; }), IDC_BROWSE, false},
        {"no format: no advanced", With(Idle(), [](DialogCommandState& s) { s.hasFormat = false; }), IDC_ADVANCED, false},
        {"empty folder text: no open", With(Idle(), [](DialogCommandState& s) { s.outputFolderEmpty = true; }), IDC_OPEN_FOLDER, false},
        {"completed row: play", With(Idle(), [](DialogCommandState& s) { s.firstSelectedCompleted = true; }), ID_PLAY_OUTPUT, true},
        {"completed row: rename", With(Idle(), [](DialogCommandState& s) { s.firstSelectedCompleted = true; }), ID_RENAME_OUTPUT, true},
        {"completed row still finishing: no rename", With(RowRunning(), [](DialogCommandState& s) { s.firstSelectedCompleted = true; }), ID_RENAME_OUTPUT, false},
        {"one completed: play all", With(Running(), [](DialogCommandState& s) { s.anyCompleted = true; }), ID_PLAY_ALL_OUTPUTS, true},
        {"one completed: copy all", With(Idle(), [](DialogCommandState& s) { s.anyCompleted = true; }), ID_COPY_ALL_OUTPUTS, true},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.enabled, GetCommandRule(c.id, c.state) == CommandRule::Enabled);
    }
}

TEST(DialogCommands, UnknownIdsAreNotRuled)
{
    EXPECT_EQ(CommandRule::NotRuled, GetCommandRule(ID_LIST_TOOL_SPARE, Idle()));
    EXPECT_EQ(CommandRule::NotRuled, GetCommandRule(12345, Idle()));
}

TEST(DialogCommands, TheRowUnderConversionIsNeverRemoved)
{
    EXPECT_TRUE(IsRowRemovable(2, 2, false));
    EXPECT_FALSE(IsRowRemovable(2, 2, true));
    EXPECT_TRUE(IsRowRemovable(1, 2, true));
    EXPECT_TRUE(IsRowRemovable(0, -1, true));
}

struct PathCase {
    std::wstring text;
    std::vector<std::wstring> paths;
};

TEST(PathLists, PastedTextGivesItsPaths)
{
    const std::wstring longName(600, L'a');
    const PathCase cases[] = {
        {L"", {}},
        {L"\r\n\n  \r\n", {}},
        {L"C:\\a.gif", {L"C:\\a.gif"}},
        {L"C:\\a.gif\r\nC:\\b c.gif\nD:\\d.gif\r", {L"C:\\a.gif", L"C:\\b c.gif", L"D:\\d.gif"}},
        {L"  C:\\a.gif  \n\tC:\\b.gif", {L"C:\\a.gif", L"C:\\b.gif"}},
        {L"\"C:\\a b.gif\"", {L"C:\\a b.gif"}},
        {L"\"C:\\a.gif\" \"C:\\b.gif\"", {L"C:\\a.gif", L"C:\\b.gif"}},
        {L"\"C:\\open.gif", {L"C:\\open.gif"}},
        {L"\"\" \"  \"", {}},
        {L"file:///C:/My%20Pictures/x.gif", {L"C:\\My Pictures\\x.gif"}},
        {L"file:///Z:/tmp/%C3%A9t%C3%A9.gif", {L"Z:\\tmp\\\u00e9t\u00e9.gif"}},
        {L"file://server/share/y.gif", {L"\\\\server\\share\\y.gif"}},
        {L"FILE:///C:/x%2.gif", {L"C:\\x%2.gif"}},
        {L"C:\\" + longName + L".gif", {L"C:\\" + longName + L".gif"}},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(CString(c.text).ToUtf8().substr(0, 80));
        CStringArray paths;
        ParsePathList(CString(c.text), paths);
        ASSERT_EQ(c.paths.size(), static_cast<size_t>(paths.GetSize()));
        for (size_t i = 0; i < c.paths.size(); ++i)
            EXPECT_EQ(c.paths[i], paths[static_cast<int>(i)].str());
    }
}

TEST(PathLists, PlainTextIsNoUrl)
{
    EXPECT_EQ(std::wstring(L"file:/x"), PathFromFileUrl(L"file:/x").str());
    EXPECT_EQ(std::wstring(L"file://"), PathFromFileUrl(L"file://").str());
    EXPECT_EQ(std::wstring(L"C:\\x.gif"), PathFromFileUrl(L"C:\\x.gif").str());
}

TEST(PathLists, QuotedListForTheViewer)
{
    CStringArray paths;
    EXPECT_EQ(std::wstring(), QuotePathList(paths).str());
    paths.Add(L"C:\\a b.gif");
    paths.Add(L"C:\\c.gif");
    EXPECT_EQ(std::wstring(L"\"C:\\a b.gif\" \"C:\\c.gif\""), QuotePathList(paths).str());
}

} // namespace

namespace {

struct FinishCase {
    bool shutdown, autoPlay, autoOpen, close;
    unsigned flags;
    bool play, open, closes;
};

TEST(FinishActions, ShutDownStandsAloneAndNeverForces)
{
    const FinishCase cases[] = {
        {false, false, false, false, 0, false, false, false},
        {false, true, false, false, 0, true, false, false},
        {false, false, true, true, 0, false, true, true},
        {false, true, true, true, 0, true, true, true},
        {true, true, true, true, kShutdownPowerOff, false, false, false},
        {true, false, false, false, kShutdownPowerOff, false, false, false},
    };
    for (const FinishCase& c : cases) {
        const FinishActions a = GetFinishActions(c.shutdown, c.autoPlay, c.autoOpen, c.close);
        EXPECT_EQ(c.flags, a.shutdownFlags);
        EXPECT_EQ(0u, a.shutdownFlags & 0x4u) << "EWX_FORCE";
        EXPECT_EQ(c.play, a.playOutputs);
        EXPECT_EQ(c.open, a.openOutputFolder);
        EXPECT_EQ(c.closes, a.closeWindow);
    }
}

TEST(ThumbnailGrab, ShortOutputsAreGrabbedAtTheStart)
{
    struct Case {
        int64_t durationUs, frames;
        int ms;
    } cases[] = {
        {0, 0, 0},          // not known
        {-1, 5, 0},
        {100000, 1, 0},     // one frame of 100 ms
        {5000000, 1, 0},    // one frame held long
        {40000, 2, 0},
        {199999, 3, 0},
        {200000, 3, 100},
        {4000000, 40, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.ms, ThumbnailGrabTimeMs(c.durationUs, c.frames)) << c.durationUs << " " << c.frames;
}

} // namespace
