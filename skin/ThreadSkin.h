// ThreadSkin: the skinning state of one thread: its theme, its hook and the windows it touched.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "GdiObject.h"
#include "SkinTheme.h"

namespace skin {

enum class SkinnedKind { Dialog, PushButton, GroupBox, Edit };

// What the skin changed on one window, so that stopping can undo exactly that.
struct SkinnedWindow {
    SkinnedKind kind;
    // Push buttons: drawn by the skin (BS_OWNERDRAW) since their creation finished.
    bool ownerDrawn = false;
    // Push buttons: the dialog manager's default-button state, which BS_OWNERDRAW would hide.
    bool isDefault = false;
    // Push buttons: BS_NOTIFY was set, so a double click stays a double click.
    bool notify = false;
    bool hot = false;
};

class ThreadSkin {
public:
    // Starts skinning the calling thread's new windows; false if the hook cannot be set.
    // A thread that is already skinned keeps its skin.
    static bool Start(const SkinSettings& settings);
    // Undoes everything on the calling thread's windows; harmless without a Start.
    static void Stop();
    // The calling thread's skin, or null.
    static ThreadSkin* Current();

    ThreadSkin(const ThreadSkin&) = delete;
    ThreadSkin& operator=(const ThreadSkin&) = delete;
    ~ThreadSkin();

    const SkinTheme& theme() const { return m_theme; }
    SkinnedWindow* Find(HWND hwnd);
    void Forget(HWND hwnd) { m_windows.erase(hwnd); }
    // Gives the dialog and its controls the skin's font, remembering each old one.
    void ApplyFont(HWND dialog);

private:
    explicit ThreadSkin(const SkinSettings& settings);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    void OnCreateWindow(HWND hwnd, const CREATESTRUCTW& create);
    void Track(HWND hwnd, SkinnedWindow window);
    void RestoreAll();

    SkinTheme m_theme;
    OwnedHook m_hook;
    std::map<HWND, SkinnedWindow> m_windows;
    std::vector<std::pair<HWND, HFONT>> m_replacedFonts;
};

}  // namespace skin
