// Message maps: the table types, the macros that declare and fill them, the per-message thunks.
//
// A map is a static table of entries checked in order; an unmatched message goes on to the base
// class's map, and past the root to default handling. Each entry stores a thunk instantiated for
// the map's class and the handler's member pointer, so handlers are called with their own types
// and a handler of the wrong shape fails to compile instead of being cast.
//
// In the class:     DECLARE_MESSAGE_MAP()          (leaves the class in "protected:")
// In the .cpp:      BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//                       ON_WM_SYSCOMMAND()
//                       ON_BN_CLICKED(IDC_QUERY, OnQuery)
//                   END_MESSAGE_MAP()
#pragma once

#include <windows.h>

#include <type_traits>

class CWnd;

namespace winlib {

using MessageThunk = LRESULT (*)(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;      // first message the entry takes
    UINT lastMessage;  // last one: WM_CTLCOLOR* is a range, the rest are single messages
    UINT code;         // WM_COMMAND only: notification code
    UINT id;           // WM_COMMAND only: control or command id
    MessageThunk thunk;  // null ends the table
};

struct MessageMap {
    const MessageMap* (*base)();  // null at the root
    const MessageMapEntry* entries;
};

template <class Member> struct MemberClass;
template <class C, class R, class... Args> struct MemberClass<R (C::*)(Args...)> {
    using type = C;
};

// True when Handler is a member function of exactly the type Signature.
template <auto Handler, class Signature>
constexpr bool kHandlerIs = std::is_same_v<
    decltype(Handler), Signature MemberClass<decltype(Handler)>::type::*>;

// Each thunk casts to T, the class whose map holds the entry: the map is only consulted for
// objects of T or of classes derived from it.
template <class T, auto Handler>
LRESULT SysCommandThunk(CWnd& wnd, UINT, WPARAM wParam, LPARAM lParam)
{
    static_assert(kHandlerIs<Handler, void(UINT, LPARAM)>, "OnSysCommand is void(UINT nID, LPARAM lParam)");
    (static_cast<T&>(wnd).*Handler)(static_cast<UINT>(wParam), lParam);
    return 0;
}

template <class T, auto Handler>
LRESULT PaintThunk(CWnd& wnd, UINT, WPARAM, LPARAM)
{
    static_assert(kHandlerIs<Handler, void()>, "OnPaint is void()");
    (static_cast<T&>(wnd).*Handler)();
    return 0;
}

template <class T, auto Handler>
LRESULT QueryDragIconThunk(CWnd& wnd, UINT, WPARAM, LPARAM)
{
    static_assert(kHandlerIs<Handler, HCURSOR()>, "OnQueryDragIcon is HCURSOR()");
    return reinterpret_cast<LRESULT>((static_cast<T&>(wnd).*Handler)());
}

template <class T, auto Handler>
LRESULT HelpInfoThunk(CWnd& wnd, UINT, WPARAM, LPARAM lParam)
{
    static_assert(kHandlerIs<Handler, BOOL(HELPINFO*)>, "OnHelpInfo is BOOL(HELPINFO* pHelpInfo)");
    return (static_cast<T&>(wnd).*Handler)(reinterpret_cast<HELPINFO*>(lParam));
}

template <class T, auto Handler>
LRESULT CtlColorThunk(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    static_assert(kHandlerIs<Handler, HBRUSH(HDC, HWND, UINT)>,
                  "OnCtlColor is HBRUSH(HDC hDC, HWND hWnd, UINT nCtlColor)");
    // The WM_CTLCOLOR* messages run in the order of the CTLCOLOR_* codes.
    const UINT nCtlColor = message - WM_CTLCOLORMSGBOX;
    return reinterpret_cast<LRESULT>((static_cast<T&>(wnd).*Handler)(
        reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), nCtlColor));
}

template <class T, auto Handler>
LRESULT CommandThunk(CWnd& wnd, UINT, WPARAM, LPARAM)
{
    static_assert(kHandlerIs<Handler, void()>, "a command handler is void()");
    (static_cast<T&>(wnd).*Handler)();
    return 0;
}

}  // namespace winlib

#define DECLARE_MESSAGE_MAP()                                 \
protected:                                                    \
    static const ::winlib::MessageMap* GetThisMessageMap();   \
    const ::winlib::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                  \
    const ::winlib::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const ::winlib::MessageMap* theClass::GetThisMessageMap()                                   \
    {                                                                                           \
        using ThisClass [[maybe_unused]] = theClass;                                            \
        using TheBaseClass = baseClass;                                                         \
        static const ::winlib::MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                                  \
            {0, 0, 0, 0, nullptr}};                                                        \
        static const ::winlib::MessageMap map{&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                                       \
    }

#define ON_WM_SYSCOMMAND() \
    {WM_SYSCOMMAND, WM_SYSCOMMAND, 0, 0, &::winlib::SysCommandThunk<ThisClass, &ThisClass::OnSysCommand>},
#define ON_WM_PAINT() \
    {WM_PAINT, WM_PAINT, 0, 0, &::winlib::PaintThunk<ThisClass, &ThisClass::OnPaint>},
#define ON_WM_QUERYDRAGICON()                   \
    {WM_QUERYDRAGICON, WM_QUERYDRAGICON, 0, 0,  \
     &::winlib::QueryDragIconThunk<ThisClass, &ThisClass::OnQueryDragIcon>},
#define ON_WM_HELPINFO() \
    {WM_HELP, WM_HELP, 0, 0, &::winlib::HelpInfoThunk<ThisClass, &ThisClass::OnHelpInfo>},
#define ON_WM_CTLCOLOR()                                \
    {WM_CTLCOLORMSGBOX, WM_CTLCOLORSTATIC, 0, 0,        \
     &::winlib::CtlColorThunk<ThisClass, &ThisClass::OnCtlColor>},
#define ON_BN_CLICKED(id, memberFxn) \
    {WM_COMMAND, WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), &::winlib::CommandThunk<ThisClass, &ThisClass::memberFxn>},
