// A small program the Wine runner's own test drives: exits with a given code, leaves a file
// in its working directory, names its display, keeps a window open, or blocks on a message
// box nobody closes.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

LRESULT CALLBACK ProbeWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Shows a window for the given time while pumping its messages; fails if no window appears.
int ShowWindowFor(DWORD milliseconds)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RunnerProbe";
    if (!RegisterClassA(&wc))
        return 10;
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 11;
    ShowWindow(hwnd, SW_SHOW);
    const DWORD end = GetTickCount() + milliseconds;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    const bool visible = IsWindowVisible(hwnd);
    DestroyWindow(hwnd);
    return visible ? 0 : 12;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "exit") == 0)
        return std::atoi(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "touch") == 0) {
        HANDLE file = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 20;
        CloseHandle(file);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "display") == 0) {
        const char* display = std::getenv("DISPLAY");
        std::printf("DISPLAY=%s\n", display ? display : "");
        return display ? 0 : 21;
    }
    if (argc == 3 && std::strcmp(argv[1], "window") == 0)
        return ShowWindowFor(static_cast<DWORD>(std::atoi(argv[2])));
    if (argc == 2 && std::strcmp(argv[1], "hang") == 0) {
        MessageBoxA(nullptr, "Nobody closes this box.", "RunnerProbe", MB_OK);
        return 0;
    }
    return 2;
}
