#pragma once

// The second half of the dialog's message routing: WM_COMMAND goes to the handler
// registered for its (control id, notification code).
#include <map>

#include "message_map.h"

struct CommandKey {
    WORD control;
    WORD notification;

    bool operator<(const CommandKey& other) const
    {
        return control != other.control ? control < other.control : notification < other.notification;
    }
};

// WM_COMMAND's parameters with the dialog they were sent to.
struct CommandRecord {
    WPARAM wParam;  // control id in the low word, notification code in the high word
    LPARAM lParam;  // the control's window
    HWND dialog;
};

struct CommandEvent {
    HWND dialog;
    HWND control;  // null for commands from menus and accelerators
};

class CommandHandler;

// The MessageMap's handler for WM_COMMAND.
class CommandMap : public MessageHandler {
public:
    explicit CommandMap(MessageMap& messages) : MessageHandler(messages, WM_COMMAND) {}
    ~CommandMap() override = default;

    INT_PTR Adapt(const MessageRecord& record) override;
    // The handler's result, or 0 when no handler is registered for the command.
    virtual INT_PTR Handle(const CommandRecord& command);

    // A command has at most one handler; a second registration for it is refused.
    bool Add(CommandKey key, CommandHandler& handler);
    // Removes the entry only while it still names `handler`.
    void Remove(CommandKey key, const CommandHandler& handler);

private:
    std::map<CommandKey, CommandHandler*> handlers_;  // non-owning
};

// Base of the objects that answer one command. Registers itself in its map when
// constructed and removes itself when destroyed.
class CommandHandler {
public:
    CommandHandler(const CommandHandler&) = delete;
    CommandHandler& operator=(const CommandHandler&) = delete;

    virtual INT_PTR Adapt(const CommandRecord& command);
    virtual INT_PTR Handle(const CommandEvent& event) = 0;

protected:
    CommandHandler(CommandMap& map, CommandKey key);
    virtual ~CommandHandler();

private:
    CommandMap& map_;
    CommandKey key_;
};
