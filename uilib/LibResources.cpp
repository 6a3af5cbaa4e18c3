#include "LibResources.h"

namespace {
HCURSOR g_handCursor = nullptr;
HFONT g_menuFont = nullptr;

// The system's menu font, made once and kept for the life of the process.
HFONT OwnMenuFont()
{
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
            return CreateFontIndirectW(&metrics.lfMenuFont);
        return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}
}  // namespace

void SetLibHandCursor(HCURSOR cursor) { g_handCursor = cursor; }

HCURSOR GetLibHandCursor()
{
    return g_handCursor ? g_handCursor : LoadCursorW(nullptr, IDC_HAND);
}

void SetLibMenuFont(HFONT font) { g_menuFont = font; }

HFONT GetLibMenuFont() { return g_menuFont ? g_menuFont : OwnMenuFont(); }
