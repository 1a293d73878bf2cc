// ThreadSkin: per-thread start and stop, the creation hook, and undoing what the skin changed.
#include "ThreadSkin.h"

#include "Subclass.h"

namespace skin {
namespace {

// Owned by Stop, which deletes it. Not a thread_local unique_ptr: its destructor would run
// at thread exit under the loader lock, where touching windows is not safe.
thread_local ThreadSkin* t_skin = nullptr;

bool HasClass(HWND hwnd, const wchar_t* name) {
    wchar_t className[64] = {};
    return GetClassNameW(hwnd, className, 64) > 0 && lstrcmpiW(className, name) == 0;
}

// Guards against a handle that was destroyed and reused by another thread since.
bool IsOwnWindow(HWND hwnd) {
    return IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

}  // namespace

ThreadSkin::ThreadSkin(const SkinSettings& settings) : m_theme(settings) {}

ThreadSkin::~ThreadSkin() = default;

bool ThreadSkin::Start(const SkinSettings& settings) {
    if (t_skin) return true;
    std::unique_ptr<ThreadSkin> skin(new ThreadSkin(settings));
    skin->m_hook.reset(SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId()));
    if (!skin->m_hook) return false;
    t_skin = skin.release();
    return true;
}

void ThreadSkin::Stop() {
    // Detached first: messages sent while restoring must reach the windows' own procedures.
    std::unique_ptr<ThreadSkin> skin(t_skin);
    t_skin = nullptr;
    if (skin) skin->RestoreAll();
}

ThreadSkin* ThreadSkin::Current() { return t_skin; }

SkinnedWindow* ThreadSkin::Find(HWND hwnd) {
    const auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : &it->second;
}

LRESULT CALLBACK ThreadSkin::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_skin) {
        try {
            const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
            t_skin->OnCreateWindow(reinterpret_cast<HWND>(wParam), *create->lpcs);
        } catch (...) {
            // The window is simply left unskinned.
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ThreadSkin::OnCreateWindow(HWND hwnd, const CREATESTRUCTW& create) {
    if (HasClass(hwnd, L"#32770")) {
        Track(hwnd, {SkinnedKind::Dialog});
        return;
    }
    // Controls are only skinned inside a skinned dialog: an owner-drawn button asks its
    // parent to draw it, and only our dialog procedure answers for the skin.
    const SkinnedWindow* parent = Find(create.hwndParent);
    if (!parent || parent->kind != SkinnedKind::Dialog) return;
    if (HasClass(hwnd, L"Button")) {
        const LONG type = create.style & BS_TYPEMASK;
        if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
            SkinnedWindow button{SkinnedKind::PushButton};
            button.isDefault = type == BS_DEFPUSHBUTTON;
            button.notify = (create.style & BS_NOTIFY) != 0;
            Track(hwnd, button);
        } else if (type == BS_GROUPBOX) {
            Track(hwnd, {SkinnedKind::GroupBox});
        }
    } else if (HasClass(hwnd, L"Edit") && m_theme.hasEditBorder()) {
        Track(hwnd, {SkinnedKind::Edit});
    }
}

void ThreadSkin::Track(HWND hwnd, SkinnedWindow window) {
    m_windows[hwnd] = window;
    if (!Subclass(hwnd)) m_windows.erase(hwnd);
}

void ThreadSkin::ApplyFont(HWND dialog) {
    const HFONT font = m_theme.font();
    if (!font) return;
    const auto replace = [this, font](HWND hwnd) {
        const auto old = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
        m_replacedFonts.emplace_back(hwnd, old);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    };
    replace(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        replace(child);
    }
}

void ThreadSkin::RestoreAll() {
    m_hook.reset();
    const auto skinFont = reinterpret_cast<LRESULT>(m_theme.font());
    for (const auto& [hwnd, font] : m_replacedFonts) {
        if (IsOwnWindow(hwnd) && SendMessageW(hwnd, WM_GETFONT, 0, 0) == skinFont) {
            SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
    m_replacedFonts.clear();
    for (const auto& [hwnd, window] : m_windows) {
        if (!IsOwnWindow(hwnd)) continue;
        Unsubclass(hwnd);
        if (window.kind == SkinnedKind::PushButton && window.ownerDrawn) {
            // Only the type bits go back: enabling and the rest may have changed meanwhile.
            const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
            const LONG_PTR type = window.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            SetWindowLongPtrW(hwnd, GWL_STYLE, (style & ~LONG_PTR{BS_TYPEMASK}) | type);
        }
    }
    for (const auto& [hwnd, window] : m_windows) {
        if (window.kind == SkinnedKind::Dialog && IsOwnWindow(hwnd)) {
            RedrawWindow(hwnd, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        }
    }
    m_windows.clear();
}

}  // namespace skin
