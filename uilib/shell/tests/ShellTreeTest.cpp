#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/ShellMenuTreeCtrl.h"
#include "shell/ShellTreeLogic.h"

namespace {

// The dialog's tree with its expansion steps recorded.
class CRecordingTree : public CShellMenuTreeCtrl {
public:
    struct Placeholder {
        CString text;
        HTREEITEM parent;
    };
    std::vector<Placeholder> placeholders;
    std::vector<HTREEITEM> filled;
    int endings = 0;

    using CShellMenuTreeCtrl::AnimationStep;

    void BeginAnimation(HTREEITEM placeholder) override
    {
        placeholders.push_back({GetItemText(placeholder), GetParentItem(placeholder)});
        CShellMenuTreeCtrl::BeginAnimation(placeholder);
    }
    void EndAnimation() override
    {
        endings++;
        CShellMenuTreeCtrl::EndAnimation();
    }

protected:
    BOOL FillChildren(HTREEITEM item) override
    {
        filled.push_back(item);
        return CShellMenuTreeCtrl::FillChildren(item);
    }
};

struct TreeFixture : ::testing::Test {
    CTempFolder folder{L"uishell-tree"};
    CHostWindow host;
    CRecordingTree tree;

    void SetUp() override
    {
        for (const wchar_t* name : {L"Gamma", L"Alpha", L"Beta", L"Alpha\\Two", L"Alpha\\One", L"Alpha\\One\\Deep"})
            folder.MakeFolder(name);
        folder.MakeFile(L"note.txt");
        folder.MakeFile(L"Gamma\\inside.txt");
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                    TVS_SHOWSELALWAYS, CRect(0, 0, 440, 300), &host, 1019));
        PumpFor(50);   // the system image list arrives by a posted message
    }

    std::vector<CString> ChildTexts(HTREEITEM parent) const
    {
        std::vector<CString> texts;
        for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child))
            texts.push_back(tree.GetItemText(child));
        return texts;
    }
    HTREEITEM Child(HTREEITEM parent, const wchar_t* text) const
    {
        for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child))
            if (tree.GetItemText(child) == text)
                return child;
        return nullptr;
    }
    int ChildrenCount(HTREEITEM item) const
    {
        TVITEMW info{};
        info.mask = TVIF_CHILDREN;
        info.hItem = item;
        tree.GetItem(&info);
        return info.cChildren;
    }
};

TEST_F(TreeFixture, OpensARealFolderOnceWithALoadingPlaceholderFirst)
{
    CPidl root(PathToPidl(folder.Path(), nullptr));
    ASSERT_NE(root.m_pidl, nullptr);
    tree.SetRoot(root, 0);
    ASSERT_EQ(ChildTexts(TVI_ROOT), (std::vector<CString>{L"Alpha", L"Beta", L"Gamma"}));
    EXPECT_NE(tree.GetImageList(TVSIL_NORMAL), nullptr);

    HTREEITEM alpha = Child(TVI_ROOT, L"Alpha");
    EXPECT_EQ(tree.GetItemPath(alpha).CompareNoCase(folder.Path(L"Alpha")), 0);
    EXPECT_EQ(ChildrenCount(alpha), 1);
    EXPECT_EQ(tree.GetChildItem(alpha), nullptr);   // nothing read yet

    tree.Expand(alpha, TVE_EXPAND);
    ASSERT_EQ(tree.placeholders.size(), 1u);
    EXPECT_EQ(tree.placeholders[0].text, CString(L"Loading..."));
    EXPECT_EQ(tree.placeholders[0].parent, alpha);
    EXPECT_EQ(tree.filled, std::vector<HTREEITEM>{alpha});
    EXPECT_EQ(tree.endings, 1);
    EXPECT_EQ(ChildTexts(alpha), (std::vector<CString>{L"One", L"Two"}));
    EXPECT_TRUE(tree.GetItemState(alpha, TVIS_EXPANDED) & TVIS_EXPANDED);

    // Closing and opening again reads nothing and shows no placeholder.
    tree.Expand(alpha, TVE_COLLAPSE);
    tree.Expand(alpha, TVE_EXPAND);
    EXPECT_EQ(tree.placeholders.size(), 1u);
    EXPECT_EQ(tree.filled.size(), 1u);
    EXPECT_EQ(ChildTexts(alpha).size(), 2u);

    // An empty folder (files do not count) on a fixed drive loses its button once opened.
    HTREEITEM gamma = Child(TVI_ROOT, L"Gamma");
    tree.Expand(gamma, TVE_EXPAND);
    EXPECT_EQ(tree.GetChildItem(gamma), nullptr);
    EXPECT_EQ(ChildrenCount(gamma), 0);
    EXPECT_EQ(tree.filled.size(), 2u);
}

TEST_F(TreeFixture, FindsAndSelectsPathsFromTheDesktop)
{
    tree.SetRoot(nullptr, 0);
    HTREEITEM desktop = tree.GetRootItem();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(tree.GetNextSiblingItem(desktop), nullptr);
    EXPECT_FALSE(tree.GetItemText(desktop).IsEmpty());

    CString target = folder.Path(L"Alpha\\One");
    HTREEITEM found = tree.FindPath(target);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(tree.GetItemPath(found).CompareNoCase(target), 0);
    EXPECT_EQ(tree.GetItemText(found), CString(L"One"));
    EXPECT_EQ(ChildTexts(found), std::vector<CString>{L"Deep"});   // opened on the way

    CString slashes = target;
    slashes.Replace(L'\\', L'/');
    struct Case {
        CString path;
        bool found;
    } cases[] = {
        {slashes, true}, {target + L"\\", true}, {target + L"\\\\", true}, {L"Q:\\Nowhere\\Else", false},
        {folder.Path(L"Alpha\\Missing"), false}, {L"", false},
    };
    size_t reads = tree.filled.size();
    for (const Case& c : cases)
        EXPECT_EQ(tree.FindPath(c.path), c.found ? found : nullptr) << c.path.ToUtf8();
    EXPECT_LE(tree.filled.size(), reads + 1);   // only the missing folder's parent, once at most

    EXPECT_TRUE(tree.SelectPath(folder.Path(L"Alpha\\Two")));
    EXPECT_EQ(tree.GetSelectedPath().CompareNoCase(folder.Path(L"Alpha\\Two")), 0);
    EXPECT_FALSE(tree.SelectPath(L"Q:\\Nowhere"));
}

bool IsBlue(COLORREF c) { return GetRValue(c) < 40 && GetGValue(c) > 100 && GetGValue(c) < 160 && GetBValue(c) > 220; }

// The loading bar and the turning ring are drawn straight onto the window by the animator.
TEST_F(TreeFixture, DrawsTheLoadingBarAndTheAnimationFrames)
{
    CPidl root(PathToPidl(folder.Path(), nullptr));
    tree.SetRoot(root, 0);
    tree.UpdateWindow();
    HTREEITEM beta = Child(TVI_ROOT, L"Beta");
    tree.BeginAnimation(beta);
    ASSERT_FALSE(tree.m_rectBar.IsRectEmpty());
    CRect text;
    tree.GetItemRect(beta, &text, TRUE);
    EXPECT_EQ(tree.m_rectBar.left, text.right + 2);
    EXPECT_EQ(tree.m_rectBar.Width(), 54);

    tree.AnimationStep(FALSE, 10, 5);
    PumpFor(100);   // the window's drawing reaches the screen
    int y = tree.m_rectFill.top + tree.m_rectFill.Height() / 2;
    int x0 = tree.m_rectFill.left;
    EXPECT_TRUE(IsBlue(ReadPixel(tree.m_hWnd, x0, y)));
    EXPECT_TRUE(IsBlue(ReadPixel(tree.m_hWnd, x0 + 24, y)));
    EXPECT_FALSE(IsBlue(ReadPixel(tree.m_hWnd, x0 + 26, y)));
    tree.AnimationStep(FALSE, 10, 10);
    PumpFor(100);
    EXPECT_TRUE(IsBlue(ReadPixel(tree.m_hWnd, x0 + 49, y)));
    EXPECT_FALSE(IsBlue(ReadPixel(tree.m_hWnd, x0 + 51, y)));

    // Frame k shows dot k of the ring in blue (dots on a circle of 5.5 px, the first at the top).
    ASSERT_FALSE(tree.m_rectIcon.IsRectEmpty());
    ASSERT_NE(tree.m_hCursor, nullptr);
    auto dot = [&](int k) {
        double angle = -3.14159265358979 / 2 + 2 * 3.14159265358979 * k / 10;
        return CPoint(tree.m_rectIcon.left + static_cast<int>(std::lround(7.5 + 5.5 * std::cos(angle))),
                      tree.m_rectIcon.top + static_cast<int>(std::lround(7.5 + 5.5 * std::sin(angle))));
    };
    for (int frame = 1; frame <= 3; frame++) {
        tree.AnimationStep(TRUE, 0, 0);
        PumpFor(100);
        EXPECT_EQ(tree.m_nFrame, frame);
        CPoint lit = dot(frame), dark = dot(frame - 1);
        EXPECT_TRUE(IsBlue(ReadPixel(tree.m_hWnd, lit.x, lit.y))) << frame;
        EXPECT_FALSE(IsBlue(ReadPixel(tree.m_hWnd, dark.x, dark.y))) << frame;
    }
    tree.EndAnimation();
}

TEST_F(TreeFixture, ContextMenuOfTheSelectedItemOpensAndCloses)
{
    CPidl root(PathToPidl(folder.Path(), nullptr));
    tree.SetRoot(root, 0);
    EXPECT_FALSE(tree.ShowContextMenu());   // nothing selected
    HTREEITEM alpha = Child(TVI_ROOT, L"Alpha");
    tree.SelectItem(alpha);
    auto framework = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(tree.m_hWnd, GWLP_WNDPROC));
    bool seenMenu = false;
    RunLater(400, [&] {
        seenMenu = FindThreadWindow(L"#32768", nullptr) != nullptr;
        ::EndMenu();
    });
    EXPECT_TRUE(tree.ShowContextMenu());
    EXPECT_TRUE(seenMenu);
    EXPECT_GT(tree.m_contextMenu.m_nLastId, tree.m_contextMenu.m_nFirstId);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(tree.m_hWnd, GWLP_WNDPROC)), framework);
}

} // namespace
