// Helpers for the class layer's tests: the test application, a dialog driven from inside its own
// modal loop, a watchdog that keeps a stuck loop from hanging the run, and a message-box catcher.
#pragma once

#include "CDialog.h"
#include "CWinApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The process's application object; tests swap in the overrides they need.
class TestApp : public CWinApp {
public:
    BOOL InitInstance() override { return initInstance ? initInstance() : CWinApp::InitInstance(); }
    int ExitInstance() override { return exitInstance ? exitInstance() : CWinApp::ExitInstance(); }

    std::function<BOOL()> initInstance;
    std::function<int()> exitInstance;
};

TestApp& TheTestApp();

// A command id no test template uses: the scripted step's trigger.
constexpr int kRunStep = 0x7F00;

// A dialog that runs a test's code inside its own modal loop. onInit runs in OnInitDialog after
// the base's; step runs from a message posted there, once the dialog is up and its loop turning.
// Neither ends the dialog by itself.
class ScriptedDialog : public CDialog {
public:
    using Hook = std::function<void(ScriptedDialog&)>;

    ScriptedDialog(UINT nIDTemplate, CWnd* pParentWnd, Hook step, Hook onInit = {});

    BOOL OnInitDialog() override;

    using CDialog::UpdateData;
    RECT rectAtInit{};  // the window rectangle OnInitDialog found

protected:
    void OnRunStep();
    DECLARE_MESSAGE_MAP()

private:
    Hook m_step;
    Hook m_onInit;
};

// Every test of dialogs derives its fixture from this: a thread timer posts WM_QUIT with a code of
// its own if a test runs too long, which unwinds every modal loop (ours re-post it, the system's
// message boxes too); TearDown reports it and removes any WM_QUIT left in the queue.
class WinlibTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Removes a pending WM_QUIT and returns its code; -1 when there is none.
    static int TakeQuit();

private:
    UINT_PTR m_watchdog = 0;
};

struct SeenMessageBox {
    std::string caption;
    std::string text;
    HWND owner;
    HICON icon;
};

// Catches each message box of this thread as it is activated, records it and closes it with OK.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
    ~MessageBoxCatcher();

    const std::vector<SeenMessageBox>& boxes() const { return m_boxes; }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook;
    std::vector<SeenMessageBox> m_boxes;
    std::vector<HWND> m_closed;
};

std::string WindowText(HWND hWnd);
