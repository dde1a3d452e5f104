#pragma once

// The first half of the dialog's message routing: a table from window message to
// the handler object that registered for it.
#include <map>

#include <windows.h>

// One window message as the dialog procedure received it.
struct MessageRecord {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageHandler;

class MessageMap {
public:
    MessageMap() = default;
    MessageMap(const MessageMap&) = delete;
    MessageMap& operator=(const MessageMap&) = delete;

    // A message has at most one handler; a second registration for it is refused.
    bool Add(UINT message, MessageHandler& handler);
    // Removes the entry only while it still names `handler`.
    void Remove(UINT message, const MessageHandler& handler);

    // The handler's result, or 0 (FALSE: default dialog processing) when no handler
    // is registered for the message.
    INT_PTR Dispatch(const MessageRecord& record) const;

private:
    std::map<UINT, MessageHandler*> handlers_;  // non-owning
};

// Base of the objects that answer one message. Registers itself in its map when
// constructed and removes itself when destroyed, so the map never names a handler
// that is gone.
class MessageHandler {
public:
    MessageHandler(const MessageHandler&) = delete;
    MessageHandler& operator=(const MessageHandler&) = delete;

    // Turns the raw message into the handler's own event and handles it.
    virtual INT_PTR Adapt(const MessageRecord& record) = 0;

protected:
    MessageHandler(MessageMap& map, UINT message);
    virtual ~MessageHandler();

private:
    MessageMap& map_;
    UINT message_;
};
