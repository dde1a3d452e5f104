#include "message_handlers.h"

INT_PTR InitDialogHandler::Adapt(const MessageRecord& record)
{
    return Handle(InitDialogEvent{reinterpret_cast<HWND>(record.wParam), record.lParam, record.window});
}

INT_PTR CloseHandler::Adapt(const MessageRecord& record)
{
    return Handle(CloseEvent{record.window});
}
