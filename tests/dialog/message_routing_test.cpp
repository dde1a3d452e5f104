// The dialog's message routing on its own: registration by construction, removal
// by destruction, lookup by exact key, and 0 for everything unhandled.
#include <gtest/gtest.h>

#include <memory>

#include "command_map.h"
#include "message_handlers.h"

namespace {

HWND const kDialog = reinterpret_cast<HWND>(0x1230);
HWND const kControl = reinterpret_cast<HWND>(0x4560);

class RecordingInit : public InitDialogHandler {
public:
    explicit RecordingInit(MessageMap& map) : InitDialogHandler(map) {}
    INT_PTR Handle(const InitDialogEvent& event) override
    {
        seen = event;
        return 7;
    }
    InitDialogEvent seen{};
};

class RecordingClose : public CloseHandler {
public:
    RecordingClose(MessageMap& map, INT_PTR result) : CloseHandler(map), result_(result) {}
    INT_PTR Handle(const CloseEvent& event) override
    {
        seen = event;
        return result_;
    }
    CloseEvent seen{};

private:
    INT_PTR result_;
};

class RecordingCommand : public CommandHandler {
public:
    RecordingCommand(CommandMap& map, CommandKey key, INT_PTR result) : CommandHandler(map, key), result_(result) {}
    INT_PTR Handle(const CommandEvent& event) override
    {
        seen = event;
        ++calls;
        return result_;
    }
    CommandEvent seen{};
    int calls = 0;

private:
    INT_PTR result_;
};

MessageRecord Message(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return MessageRecord{kDialog, message, wParam, lParam};
}

MessageRecord Command(WORD id, WORD notification)
{
    return Message(WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(kControl));
}

TEST(MessageMap, HandlersGetTheirOwnEventAndAnswer)
{
    MessageMap messages;
    RecordingInit init(messages);
    RecordingClose close(messages, 5);

    EXPECT_EQ(messages.Dispatch(Message(WM_INITDIALOG, reinterpret_cast<WPARAM>(kControl), 0x77)), 7);
    EXPECT_EQ(init.seen.focus, kControl);
    EXPECT_EQ(init.seen.creationParameter, 0x77);
    EXPECT_EQ(init.seen.dialog, kDialog);
    EXPECT_EQ(messages.Dispatch(Message(WM_CLOSE)), 5);
    EXPECT_EQ(close.seen.dialog, kDialog);
    EXPECT_EQ(messages.Dispatch(Message(WM_PAINT)), 0);
    EXPECT_EQ(messages.Dispatch(Message(WM_COMMAND, IDOK)), 0) << "no command map";
}

TEST(MessageMap, DestroyedHandlerIsNoLongerFound)
{
    MessageMap messages;
    auto close = std::make_unique<RecordingClose>(messages, 5);
    EXPECT_EQ(messages.Dispatch(Message(WM_CLOSE)), 5);
    close.reset();
    EXPECT_EQ(messages.Dispatch(Message(WM_CLOSE)), 0);
}

TEST(MessageMap, SecondHandlerForAMessageIsRefusedAndItsEndLeavesTheFirst)
{
    MessageMap messages;
    RecordingClose first(messages, 1);
    {
        RecordingClose second(messages, 2);
        EXPECT_EQ(messages.Dispatch(Message(WM_CLOSE)), 1);
    }
    EXPECT_EQ(messages.Dispatch(Message(WM_CLOSE)), 1);
}

TEST(CommandMap, RoutesByControlIdAndNotificationCode)
{
    MessageMap messages;
    CommandMap commands(messages);
    RecordingCommand ok(commands, CommandKey{IDOK, BN_CLICKED}, 11);
    RecordingCommand change(commands, CommandKey{1000, LBN_SELCHANGE}, 12);
    RecordingCommand doubleClick(commands, CommandKey{1000, LBN_DBLCLK}, 13);

    const struct {
        WORD id;
        WORD notification;
        INT_PTR result;
    } cases[] = {
        {IDOK, BN_CLICKED, 11},     {1000, LBN_SELCHANGE, 12}, {1000, LBN_DBLCLK, 13},
        {IDCANCEL, BN_CLICKED, 0},  {1000, LBN_SETFOCUS, 0},   {IDOK, BN_DOUBLECLICKED, 0},
        {1001, BN_CLICKED, 0},      {LBN_SELCHANGE, 1000, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(messages.Dispatch(Command(c.id, c.notification)), c.result) << c.id << "/" << c.notification;
    EXPECT_EQ(ok.calls, 1);
    EXPECT_EQ(change.calls, 1);
    EXPECT_EQ(doubleClick.calls, 1);
    EXPECT_EQ(ok.seen.dialog, kDialog);
    EXPECT_EQ(ok.seen.control, kControl);
}

TEST(CommandMap, DestroyedCommandHandlerIsNoLongerFound)
{
    MessageMap messages;
    CommandMap commands(messages);
    auto ok = std::make_unique<RecordingCommand>(commands, CommandKey{IDOK, BN_CLICKED}, 11);
    RecordingCommand refused(commands, CommandKey{IDOK, BN_CLICKED}, 99);
    EXPECT_EQ(messages.Dispatch(Command(IDOK, BN_CLICKED)), 11);
    ok.reset();
    EXPECT_EQ(messages.Dispatch(Command(IDOK, BN_CLICKED)), 0) << "the refused handler never had the key";
    EXPECT_EQ(refused.calls, 0);
}

}  // namespace
