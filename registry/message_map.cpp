#include "message_map.h"

bool MessageMap::Add(UINT message, MessageHandler& handler)
{
    return handlers_.emplace(message, &handler).second;
}

void MessageMap::Remove(UINT message, const MessageHandler& handler)
{
    auto found = handlers_.find(message);
    if (found != handlers_.end() && found->second == &handler)
        handlers_.erase(found);
}

INT_PTR MessageMap::Dispatch(const MessageRecord& record) const
{
    auto found = handlers_.find(record.message);
    return found == handlers_.end() ? 0 : found->second->Adapt(record);
}

MessageHandler::MessageHandler(MessageMap& map, UINT message) : map_(map), message_(message)
{
    map_.Add(message_, *this);
}

MessageHandler::~MessageHandler()
{
    map_.Remove(message_, *this);
}
