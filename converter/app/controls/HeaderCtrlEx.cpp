#include "HeaderCtrlEx.h"

#include "CDC.h"
#include "ControlDrawing.h"
#include "OffscreenDC.h"

namespace {

constexpr int kStripWidth = 4;
constexpr int kStripHeight = 24;
constexpr int kTextLimit = 1024;

} // namespace

FW_BEGIN_MESSAGE_MAP(CHeaderCtrlEx, CHeaderCtrl)
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnPlain(WM_PAINT, &ThisClass::OnPaint),
    FwOnMessage(HDM_LAYOUT, &ThisClass::OnLayout),
FW_END_MESSAGE_MAP()

void CHeaderCtrlEx::OnPaint()
{
    CPaintDC target(this);
    CRect client;
    GetClientRect(&client);
    COffscreenDC dc(&target, &client);
    Paint(dc.GetSafeHdc());
}

void CHeaderCtrlEx::Paint(HDC dc)
{
    CRect client;
    GetClientRect(&client);
    DrawBackground(dc, client);
    HGDIOBJ oldFont = ::SelectObject(dc, GetFont() ? static_cast<HGDIOBJ>(GetFont()) : ::GetStockObject(DEFAULT_GUI_FONT));
    const int count = GetItemCount();
    for (int i = 0; i < count; i++) {
        CRect item;
        if (!GetItemRect(i, &item))
            continue;
        if (!m_plainItems)
            DrawItemFace(dc, i);
        if (!m_noDividers)
            DrawDivider(dc, item, client);
    }
    ::SelectObject(dc, oldFont);
}

void CHeaderCtrlEx::DrawBackground(HDC dc, const RECT& client)
{
    CDC* target = CDC::FromHandle(dc);
    if (m_background && m_background->GetSafeHandle()) {
        const int top = client.bottom - kStripHeight;
        for (int x = client.left; x < client.right; x += kStripWidth)
            ImageList_Draw(*m_background, 0, dc, x, top, ILD_NORMAL);
        return;
    }
    target->FillSolidRect(client, RGB(255, 255, 255));
    target->FillSolidRect(client.left, client.bottom - 1, client.right - client.left, 1, RGB(240, 244, 248));
}

void CHeaderCtrlEx::DrawItemFace(HDC dc, int index)
{
    CRect item;
    GetItemRect(index, &item);
    wchar_t text[kTextLimit] = L"";
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    info.pszText = text;
    info.cchTextMax = kTextLimit;
    if (!GetItem(index, &info))
        return;
    RECT textRect{item.left + 6, item.top, item.right - 6, item.bottom - 2};
    HIMAGELIST images = GetImageList();
    if ((info.fmt & HDF_IMAGE) && images) {
        const int x = textRect.right - 12;
        const int y = textRect.top + (textRect.bottom - textRect.top - 6) / 2;
        ImageList_Draw(images, info.iImage, dc, x, y, ILD_TRANSPARENT);
        textRect.right -= 16;
    }
    UINT align = DT_LEFT;
    if ((info.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
        align = DT_RIGHT;
    else if ((info.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
        align = DT_CENTER;
    DrawLineText(dc, text, -1, textRect, align, m_textColour);
}

void CHeaderCtrlEx::DrawDivider(HDC dc, const RECT& item, const RECT& client)
{
    if (m_background && m_background->GetSafeHandle()) {
        ImageList_DrawEx(*m_background, 1, dc, item.right - 1, client.bottom - kStripHeight, 1, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
        return;
    }
    CDC::FromHandle(dc)->FillSolidRect(item.right - 1, client.top + 4, 1, client.bottom - client.top - 8, RGB(232, 236, 240));
}

LRESULT CHeaderCtrlEx::OnLayout(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
    if (m_height > 0 && layout && layout->pwpos && layout->prc) {
        layout->pwpos->cy = m_height;
        layout->prc->top = layout->pwpos->y + m_height;
    }
    return result;
}
