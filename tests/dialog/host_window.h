#pragma once

// A host application's main window, the owner of the dialogs under test. Its
// window procedure can run code on the thread that created it, which is how a
// host's own message handling calls into a plug-in while a modal dialog is open.
#include <windows.h>

#include <functional>

class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return window_; }
    // Runs `work` inside this window's procedure on the window's thread, from any
    // thread, and returns when it is done.
    void RunInWindowThread(const std::function<void()>& work) const;

private:
    HWND window_;
};
