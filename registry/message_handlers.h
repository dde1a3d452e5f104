#pragma once

// The kinds of message handler the About dialog uses, each with its own event.
#include "message_map.h"

struct InitDialogEvent {
    HWND focus;  // the control that will get the focus
    LPARAM creationParameter;
    HWND dialog;
};

struct CloseEvent {
    HWND dialog;
};

// WM_INITDIALOG. A result of TRUE lets the system set the focus.
class InitDialogHandler : public MessageHandler {
public:
    INT_PTR Adapt(const MessageRecord& record) final;
    virtual INT_PTR Handle(const InitDialogEvent& event) = 0;

protected:
    explicit InitDialogHandler(MessageMap& map) : MessageHandler(map, WM_INITDIALOG) {}
};

// WM_CLOSE: the close box, Alt+F4 and the system menu's Close.
class CloseHandler : public MessageHandler {
public:
    INT_PTR Adapt(const MessageRecord& record) final;
    virtual INT_PTR Handle(const CloseEvent& event) = 0;

protected:
    explicit CloseHandler(MessageMap& map) : MessageHandler(map, WM_CLOSE) {}
};
