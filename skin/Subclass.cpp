// Subclass: the skin's window procedures (one per character set) and the chain to the
// procedure they replaced.
#include "Subclass.h"

namespace skin {
namespace {

constexpr wchar_t kPreviousProc[] = L"AppFace.PreviousProc";
constexpr wchar_t kWideProc[] = L"AppFace.WideProc";

WNDPROC Previous(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetPropW(hwnd, kPreviousProc)); }
bool IsWide(HWND hwnd) { return GetPropW(hwnd, kWideProc) != nullptr; }

// No exception may leave a window procedure: on failure the message goes on unskinned.
LRESULT Guarded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    try {
        result = HandleSkinnedMessage(hwnd, message, wParam, lParam);
    } catch (...) {
        result = CallPrevious(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(hwnd, kPreviousProc);
        RemovePropW(hwnd, kWideProc);
    }
    return result;
}

// The window keeps its character set: an ANSI dialog stays ANSI, so its GBK texts never
// pass through a conversion on the skin's account.
LRESULT CALLBACK SkinProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK SkinProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Guarded(hwnd, message, wParam, lParam);
}

}  // namespace

bool Subclass(HWND hwnd) {
    if (Previous(hwnd)) return true;
    const bool wide = IsWindowUnicode(hwnd) != FALSE;
    const LONG_PTR current = wide ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC)
                                  : GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    if (!current) return false;
    if (!SetPropW(hwnd, kPreviousProc, reinterpret_cast<HANDLE>(current))) return false;
    if (wide && !SetPropW(hwnd, kWideProc, reinterpret_cast<HANDLE>(1))) {
        RemovePropW(hwnd, kPreviousProc);
        return false;
    }
    const LONG_PTR ours = reinterpret_cast<LONG_PTR>(wide ? SkinProcW : SkinProcA);
    if (wide) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, ours);
    } else {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, ours);
    }
    return true;
}

void Unsubclass(HWND hwnd) {
    const WNDPROC previous = Previous(hwnd);
    if (!previous) return;
    const bool wide = IsWide(hwnd);
    const LONG_PTR ours = reinterpret_cast<LONG_PTR>(wide ? SkinProcW : SkinProcA);
    const LONG_PTR current = wide ? GetWindowLongPtrW(hwnd, GWLP_WNDPROC)
                                  : GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    if (current != ours) return;
    if (wide) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    } else {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    RemovePropW(hwnd, kPreviousProc);
    RemovePropW(hwnd, kWideProc);
}

LRESULT CallPrevious(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC previous = Previous(hwnd);
    if (!previous) {
        return IsWide(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                            : DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return IsWide(hwnd) ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                        : CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

}  // namespace skin
