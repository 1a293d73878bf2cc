// SkinMessages: what the skin does with the messages of the dialogs and controls it subclassed.
#include "SkinPaint.h"
#include "Subclass.h"
#include "ThreadSkin.h"

namespace skin {
namespace {

// Looked up afresh after every forwarded message: the window, or the whole skin, may
// have gone while the message was handled.
SkinnedWindow* Lookup(HWND hwnd) {
    ThreadSkin* skin = ThreadSkin::Current();
    return skin ? skin->Find(hwnd) : nullptr;
}

bool IsEdit(HWND hwnd) {
    wchar_t className[16] = {};
    return GetClassNameW(hwnd, className, 16) > 0 && lstrcmpiW(className, L"Edit") == 0;
}

// Message boxes lay out their text for the font they chose themselves; a replaced font
// could clip it. Their dialog procedure lives in user32, unlike any program's.
bool IsSystemDialog(HWND dialog) {
    const LONG_PTR proc = IsWindowUnicode(dialog) ? GetWindowLongPtrW(dialog, DWLP_DLGPROC)
                                                  : GetWindowLongPtrA(dialog, DWLP_DLGPROC);
    HMODULE owner = nullptr;
    if (!proc || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                     reinterpret_cast<LPCWSTR>(proc), &owner)) {
        return false;
    }
    return owner == GetModuleHandleW(L"user32.dll");
}

LRESULT Colors(HDC dc, COLORREF text, COLORREF background, HBRUSH brush) {
    SetTextColor(dc, text);
    SetBkColor(dc, background);
    return reinterpret_cast<LRESULT>(brush);
}

LRESULT DialogMessage(ThreadSkin& skin, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const SkinTheme& theme = skin.theme();
    const auto dc = reinterpret_cast<HDC>(wParam);
    switch (message) {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<LRESULT>(theme.dialogBrush());
    case WM_CTLCOLORSTATIC:
        // Read-only and disabled edits ask with WM_CTLCOLORSTATIC, like labels do.
        if (IsEdit(reinterpret_cast<HWND>(lParam))) {
            return Colors(dc, theme.readOnlyText(), theme.readOnlyBackground(),
                          theme.readOnlyBrush());
        }
        return Colors(dc, theme.dialogText(), theme.dialogBackground(), theme.dialogBrush());
    case WM_CTLCOLORBTN:
        return Colors(dc, theme.dialogText(), theme.dialogBackground(), theme.dialogBrush());
    case WM_CTLCOLOREDIT:
        return Colors(dc, theme.editText(), theme.editBackground(), theme.editBrush());
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, theme.dialogBrush());
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const SkinnedWindow* button = item->CtlType == ODT_BUTTON ? skin.Find(item->hwndItem) : nullptr;
        if (button && button->kind == SkinnedKind::PushButton && button->ownerDrawn) {
            DrawPushButton(theme, *item, button->hot, button->isDefault);
            return TRUE;
        }
        break;
    }
    case WM_INITDIALOG: {
        const LRESULT result = CallPrevious(hwnd, message, wParam, lParam);
        ThreadSkin* current = ThreadSkin::Current();
        if (current && current->Find(hwnd) && !IsSystemDialog(hwnd)) current->ApplyFont(hwnd);
        return result;
    }
    default:
        break;
    }
    return CallPrevious(hwnd, message, wParam, lParam);
}

void Repaint(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

LRESULT PushButtonMessage(SkinnedWindow& button, HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const LRESULT result = CallPrevious(hwnd, message, wParam, lParam);
        SkinnedWindow* created = Lookup(hwnd);
        if (result != -1 && created) {
            // Owner drawing is switched on only now, after the button initialised itself
            // as a push button; the skin answers for its default state from here on.
            const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
            SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~LONG_PTR{BS_TYPEMASK}) | BS_OWNERDRAW);
            created->ownerDrawn = true;
        }
        return result;
    }
    case WM_GETDLGCODE: {
        LRESULT code = CallPrevious(hwnd, message, wParam, lParam);
        const SkinnedWindow* current = Lookup(hwnd);
        if (current && current->ownerDrawn) {
            code &= ~LRESULT{DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON};
            code |= DLGC_BUTTON | (current->isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        }
        return code;
    }
    case BM_SETSTYLE: {
        if (!button.ownerDrawn) break;
        const WPARAM type = wParam & BS_TYPEMASK;
        if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) {
            // The program turns the button into something else: leave it to the system.
            button.ownerDrawn = false;
            break;
        }
        // The dialog manager moves the default state this way; keep drawing it ourselves.
        button.isDefault = type == BS_DEFPUSHBUTTON;
        const LRESULT result =
            CallPrevious(hwnd, message, (wParam & ~WPARAM{BS_TYPEMASK}) | BS_OWNERDRAW, lParam);
        if (lParam) Repaint(hwnd);
        return result;
    }
    case WM_MOUSEMOVE:
        if (!button.hot) {
            button.hot = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            Repaint(hwnd);
        }
        break;
    case WM_MOUSELEAVE:
        button.hot = false;
        Repaint(hwnd);
        break;
    case WM_ENABLE:
        button.hot = false;
        break;
    case WM_LBUTTONDBLCLK:
        // Owner-drawn buttons report a double click instead of a second click; a push
        // button without BS_NOTIFY must keep clicking twice.
        if (button.ownerDrawn && !button.notify) {
            return CallPrevious(hwnd, WM_LBUTTONDOWN, wParam, lParam);
        }
        break;
    default:
        break;
    }
    return CallPrevious(hwnd, message, wParam, lParam);
}

LRESULT GroupBoxMessage(ThreadSkin& skin, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(hwnd);
        PaintGroupBox(skin.theme(), hwnd, paint.dc());
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintGroupBox(skin.theme(), hwnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_SETFONT:
    case WM_UPDATEUISTATE: {
        // The system draws straight away on these; paint over it.
        const LRESULT result = CallPrevious(hwnd, message, wParam, lParam);
        Repaint(hwnd);
        return result;
    }
    default:
        return CallPrevious(hwnd, message, wParam, lParam);
    }
}

LRESULT EditMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallPrevious(hwnd, message, wParam, lParam);
    if (message == WM_NCPAINT || message == WM_ENABLE) {
        if (ThreadSkin* skin = ThreadSkin::Current(); skin && skin->Find(hwnd)) {
            PaintEditBorder(skin->theme(), hwnd);
        }
    }
    return result;
}

}  // namespace

LRESULT HandleSkinnedMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ThreadSkin* skin = ThreadSkin::Current();
    SkinnedWindow* window = skin ? skin->Find(hwnd) : nullptr;
    if (!window) return CallPrevious(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = CallPrevious(hwnd, message, wParam, lParam);
        if (ThreadSkin* current = ThreadSkin::Current()) current->Forget(hwnd);
        return result;
    }
    switch (window->kind) {
    case SkinnedKind::Dialog: return DialogMessage(*skin, hwnd, message, wParam, lParam);
    case SkinnedKind::PushButton: return PushButtonMessage(*window, hwnd, message, wParam, lParam);
    case SkinnedKind::GroupBox: return GroupBoxMessage(*skin, hwnd, message, wParam, lParam);
    case SkinnedKind::Edit: return EditMessage(hwnd, message, wParam, lParam);
    }
    return CallPrevious(hwnd, message, wParam, lParam);
}

}  // namespace skin
