#include "about_window.h"

#include <atomic>
#include <cstdio>
#include <thread>

#include "about_resources.h"

const char kAboutCaption[] = "About BriskSPI";

std::vector<std::string> AboutWindow::Lines() const
{
    HWND list = Control(IDC_PLUGIN_LIST);
    std::vector<std::string> lines;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::string text(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        LRESULT length = SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(length < 0 ? 0 : static_cast<std::size_t>(length));
        lines.push_back(text);
    }
    return lines;
}

int AboutWindow::Selection() const
{
    return static_cast<int>(SendMessageA(Control(IDC_PLUGIN_LIST), LB_GETCURSEL, 0, 0));
}

LRESULT AboutWindow::ItemData(int index) const
{
    return SendMessageA(Control(IDC_PLUGIN_LIST), LB_GETITEMDATA, index, 0);
}

void AboutWindow::Select(int index) const
{
    SendMessageA(Control(IDC_PLUGIN_LIST), LB_SETCURSEL, index, 0);
    Command(IDC_PLUGIN_LIST, LBN_SELCHANGE);
}

void AboutWindow::DoubleClick(int index) const
{
    Select(index);
    Command(IDC_PLUGIN_LIST, LBN_DBLCLK);
}

void AboutWindow::Click(int id) const
{
    SendMessageA(Control(id), BM_CLICK, 0, 0);
}

void AboutWindow::PressKey(UINT key) const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = dialog_;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info) && info.hwndFocus)
        target = info.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void AboutWindow::Command(int id, int notification) const
{
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(Control(id)));
}

void AboutWindow::Focus(int id) const
{
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
}

bool WaitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 500; ++i) {
        if (condition())
            return true;
        Sleep(10);
    }
    return condition();
}

namespace {

BOOL CALLBACK TakeVisibleAboutDialog(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || CaptionOf(window) != kAboutCaption)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The About dialog among the visible windows of `thread`. Other processes, tests
// run in parallel among them, may show a dialog with the same caption.
HWND FindAboutDialog(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(thread, TakeVisibleAboutDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

DialogRun RunDialog(const std::function<int()>& show, const std::function<void(const AboutWindow&)>& drive)
{
    DialogRun run;
    std::atomic<bool> showReturned{false};
    DWORD dialogThread = GetCurrentThreadId();
    std::thread driver([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 1000 && !showReturned && !dialog; ++i) {
            dialog = FindAboutDialog(dialogThread);
            if (!dialog)
                Sleep(10);
        }
        if (!dialog)
            return;
        run.appeared = true;
        AboutWindow window(dialog);
        drive(window);
        run.closedByDriver = WaitFor([&] { return showReturned || !window.Open(); });
        if (!run.closedByDriver)
            PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    run.result = show();
    showReturned = true;
    driver.join();
    return run;
}

std::string CaptionOf(HWND window)
{
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    return caption;
}

std::string PointerText(const void* pointer)
{
    char text[32];
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}
