#pragma once
// The main window's rules without the windows: where the layout window's divider goes, where the
// play control bar puts its items, the texts of the title, the file count and the position, the
// hint's size, and the shell's DDE open command.
#include "CString.h"
#include "Collections.h"

// ---- layout window ----

// The remembered right-pane width and the width the user asked for before the window became too
// narrow for it (-1: none).
struct SplitState {
    int rightWidth;
    int wanted;
};

// The divider of the side-by-side layout in a client area left..right: the right pane keeps its
// width, at most half the client; a width cut to half is remembered and given back when the
// window grows again. Updates the state to the width the pane gets.
int PlaceDivider(SplitState& split, int left, int right);
// A drag puts the divider at `x` (pointer plus the offset noted at the press), kept within the
// right edge and half the client width; the right pane takes what is left.
int DragDivider(SplitState& split, int x, int left, int right);
// A double click on the divider: the width that shows one column of thumbnails.
int DefaultRightPaneWidth(int scrollBarWidth, int thumbnailWidth);
// How far either side of the divider the mouse finds it.
constexpr int kDividerGrip = 3;

// Whether pane `index` shows in layout `mode` (1 side by side, 2 one at a time) with `active` the
// active pane.
bool IsPaneShown(int mode, int active, int index);
// What the frame does once a pane was activated: where the canvas goes (0 the play view, 1 the
// playlist view, -1 it stays), what the switch button offers (0 the play view, 1 the playlist
// view, -1 unchanged) and whether the menu bar shows (1), hides (0) or stays (-1).
struct LayoutReaction {
    int canvasPane;
    int switchOffers;
    int menuBar;
};
LayoutReaction ReactToLayout(int mode, bool playlistShown, bool playing);

// ---- play control bar ----

enum PlayBarItem {
    BAR_PLAY,
    BAR_PAUSE,
    BAR_STOP,
    BAR_PREVIOUS,
    BAR_NEXT,
    BAR_SLIDER,
    BAR_POSITION,
    BAR_SAVE,
    BAR_ZOOM,
    BAR_FULL_SCREEN,
    BAR_SWITCH,
    BAR_ITEM_COUNT
};

struct BarSpan {
    int left;
    int right;
};

// The items' horizontal places in a bar `width` wide, the position text `textWidth` wide; the
// switch button takes no room while hidden (the slider gets it).
void LayoutPlayBar(int width, int textWidth, bool switchHidden, BarSpan (&spans)[BAR_ITEM_COUNT]);
// The position text and the buttons after the slider are shown only where they fit whole.
bool PlayBarItemFits(const BarSpan& span, int width);
// The position text's width from the measured width of its widest text.
int PositionTextWidth(int measured);
// "%d / %d" of position and maximum, each counted from 1; nothing loaded (-1) reads 0 / 0.
CString PositionText(int position, int maximum);
// The bar's context menu popup for a point at x: 3 play, 4 seek, 5 zoom, 6 switch; -1 none.
int PlayBarPopupAt(int x, const BarSpan (&spans)[BAR_ITEM_COUNT]);

// ---- texts ----

// "%s - %d/%d" of the item's name, its 1-based place and the count; the program name without item.
CString WindowTitle(const CString& programName, const CString* itemName, int position, int count);
// Empty, "1 File" or "%d Files".
CString FileCountText(int count);

// ---- hint window ----

// The hint's width for a text `textWidth` wide: in whole 12-pixel pieces, at most `limit`
// (the main window's width) and never below the three pieces.
int HintWidth(int textWidth, int limit);

// ---- shell open (DDE) ----

// The paths of every [open("...")] in a DDE execute string; other commands are ignored.
CStringArray DdeOpenPaths(const CString& command);
