#include "command_map.h"

INT_PTR CommandMap::Adapt(const MessageRecord& record)
{
    return Handle(CommandRecord{record.wParam, record.lParam, record.window});
}

INT_PTR CommandMap::Handle(const CommandRecord& command)
{
    CommandKey key{LOWORD(command.wParam), HIWORD(command.wParam)};
    auto found = handlers_.find(key);
    return found == handlers_.end() ? 0 : found->second->Adapt(command);
}

bool CommandMap::Add(CommandKey key, CommandHandler& handler)
{
    return handlers_.emplace(key, &handler).second;
}

void CommandMap::Remove(CommandKey key, const CommandHandler& handler)
{
    auto found = handlers_.find(key);
    if (found != handlers_.end() && found->second == &handler)
        handlers_.erase(found);
}

INT_PTR CommandHandler::Adapt(const CommandRecord& command)
{
    return Handle(CommandEvent{command.dialog, reinterpret_cast<HWND>(command.lParam)});
}

CommandHandler::CommandHandler(CommandMap& map, CommandKey key) : map_(map), key_(key)
{
    map_.Add(key_, *this);
}

CommandHandler::~CommandHandler()
{
    map_.Remove(key_, *this);
}
