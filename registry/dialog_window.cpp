#include "dialog_window.h"

INT_PTR DialogWindow::RunModal(HINSTANCE module, WORD templateId, HWND parent)
{
    return DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), parent, &DialogWindow::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogWindow* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<DialogWindow*>(lParam);
        if (!self || self->window_)
            return TRUE;  // an object serves one window at a time
        self->window_ = window;
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, DWLP_USER));
        if (!self)
            return FALSE;  // before WM_INITDIALOG or after unbinding
    }

    INT_PTR result = FALSE;
    try {
        result = self->Dispatch(MessageRecord{window, message, wParam, lParam});
    } catch (...) {
        // Nothing may unwind through the system's frames; the message counts as
        // unhandled.
        result = FALSE;
    }

    if (message == WM_NCDESTROY) {
        self->window_ = nullptr;
        SetWindowLongPtrA(window, DWLP_USER, 0);
    }
    return result;
}
