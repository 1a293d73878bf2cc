// SkinPaint: push buttons, group boxes and edit borders in the skin's colours.
#include "SkinPaint.h"

#include <iterator>

namespace skin {
namespace {

HFONT FontOf(HWND hwnd) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT Inset(RECT rect, int by) {
    InflateRect(&rect, -by, -by);
    return rect;
}

ButtonState StateOf(UINT itemState, bool hot) {
    if (itemState & ODS_DISABLED) return ButtonState::Disabled;
    if (itemState & ODS_SELECTED) return ButtonState::Pressed;
    return hot ? ButtonState::Hot : ButtonState::Normal;
}

}  // namespace

void DrawPushButton(const SkinTheme& theme, const DRAWITEMSTRUCT& item, bool hot, bool isDefault) {
    const HDC dc = item.hDC;
    const RECT rect = item.rcItem;
    const ButtonState state = StateOf(item.itemState, hot);
    const ButtonLook& look = theme.button(state);
    // The rounded corners show the dialog behind the button.
    FillRect(dc, &rect, theme.dialogBrush());
    {
        OwnedBrush face(CreateSolidBrush(look.face));
        OwnedPen border(CreatePen(PS_SOLID, 1, look.border));
        SelectScope useFace(dc, face.get());
        SelectScope useBorder(dc, border.get());
        const int corner = 2 * theme.buttonRadius();
        RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
        if (isDefault && state != ButtonState::Disabled) {
            const RECT inner = Inset(rect, 1);
            SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
            RoundRect(dc, inner.left, inner.top, inner.right, inner.bottom, corner, corner);
        }
    }

    wchar_t text[256] = {};
    const int length = GetWindowTextW(item.hwndItem, text, static_cast<int>(std::size(text)));
    RECT textRect = rect;
    if (state == ButtonState::Pressed) OffsetRect(&textRect, 1, 1);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    SelectScope useFont(dc, FontOf(item.hwndItem));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, look.text);
    DrawTextW(dc, text, length, &textRect, format);
    SetTextColor(dc, oldColor);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        const RECT focus = Inset(rect, 3);
        OwnedPen dots(CreatePen(PS_DOT, 1, theme.buttonFocus()));
        SelectScope usePen(dc, dots.get());
        SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, focus.left, focus.top, focus.right, focus.bottom);
    }
    SetBkMode(dc, oldMode);
}

void PaintGroupBox(const SkinTheme& theme, HWND hwnd, HDC dc) {
    RECT client{};
    GetClientRect(hwnd, &client);
    SelectScope useFont(dc, FontOf(hwnd));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int textHeight = metrics.tmHeight;

    // Clear the strips where the system's etched frame may already have been drawn.
    const HBRUSH background = theme.dialogBrush();
    const RECT strips[] = {
        {client.left, client.top, client.right, client.top + textHeight},
        {client.left, client.top, client.left + 2, client.bottom},
        {client.right - 2, client.top, client.right, client.bottom},
        {client.left, client.bottom - 2, client.right, client.bottom},
    };
    for (const RECT& strip : strips) FillRect(dc, &strip, background);

    {
        OwnedPen frame(CreatePen(PS_SOLID, 1, theme.groupFrame()));
        SelectScope usePen(dc, frame.get());
        SelectScope hollow(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, client.left, client.top + textHeight / 2, client.right, client.bottom, 6, 6);
    }

    wchar_t text[256] = {};
    const int length = GetWindowTextW(hwnd, text, static_cast<int>(std::size(text)));
    if (length <= 0) return;
    const int indent = metrics.tmAveCharWidth;
    RECT caption{client.left + indent + 2, client.top, client.right - indent, client.top + textHeight};
    const UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP;
    DrawTextW(dc, text, length, &caption, format | DT_CALCRECT);
    RECT gap = caption;
    InflateRect(&gap, 2, 0);
    FillRect(dc, &gap, background);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor =
        SetTextColor(dc, IsWindowEnabled(hwnd) ? theme.groupText() : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text, length, &caption, format);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

void PaintEditBorder(const SkinTheme& theme, HWND hwnd) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    if (style & (WS_VSCROLL | WS_HSCROLL)) return;
    RECT window{};
    RECT client{};
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    if (EqualRect(&window, &client)) return;

    WindowDC dc(hwnd);
    if (!dc.get()) return;
    ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
    // Read-only and disabled edits take the read-only look, as their colours do.
    const bool readOnly = (style & ES_READONLY) || !IsWindowEnabled(hwnd);
    FillRect(dc.get(), &window, readOnly ? theme.readOnlyBrush() : theme.editBrush());
    OwnedBrush border(CreateSolidBrush(theme.editBorder()));
    FrameRect(dc.get(), &window, border.get());
}

}  // namespace skin
