#pragma once

// Binds a C++ object to a modal dialog: the dialog procedure finds the object in
// the window's DWLP_USER slot and hands it every message.
#include <windows.h>

#include "message_map.h"

class DialogWindow {
public:
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // The dialog's window from WM_INITDIALOG to WM_NCDESTROY; null otherwise.
    HWND Window() const { return window_; }

    // Runs the dialog from template `templateId` in `module` until it ends. Returns
    // DialogBoxParamA's result unchanged: the EndDialog value, or -1 (0 for an
    // invalid owner) when the dialog could not be created.
    INT_PTR RunModal(HINSTANCE module, WORD templateId, HWND parent);

protected:
    DialogWindow() = default;
    virtual ~DialogWindow() = default;

    // The message's result for the dialog procedure; 0 leaves it to the system.
    virtual INT_PTR Dispatch(const MessageRecord& record) = 0;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};
