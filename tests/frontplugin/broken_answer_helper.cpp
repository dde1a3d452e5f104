// Stands in for the bridge's helper and answers a picture call with a message cut
// short inside its second block, after a whole first one: the host must leave the
// caller's output slots alone. It "loads" any plug-in, reports every entry point as
// exported, and accepts every file.
#include <windows.h>

#include "bridge_message.h"
#include "bridge_protocol.h"
#include "helper_channel.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    using namespace bridge;
    HelperChannel channel;
    if (!commandLine || !channel.Open(commandLine))
        return 1;
    MessageWriter answer;
    while (channel.Receive()) {
        const Message kind = channel.Kind();
        if (kind == kQuit)
            break;
        answer.Clear();
        Message answerKind = kResult;
        if (kind == kLoad) {
            answer.U32(1);
            answer.U32((1u << kEntryCount) - 1);
            answerKind = kLoaded;
        } else if (kind == kRelease) {
            answerKind = kReleased;
        } else if (kind == kCall) {
            MessageReader request = channel.Reader();
            request.U32();
            const std::uint32_t entry = request.U32();
            answer.I32(entry == kIsSupported ? 1 : 0);
            if (entry == kGetPicture) {
                answer.U32(kBlock);
                answer.U32(0);
                answer.Bytes("info", 4);
                answer.U32(kBlock);
                answer.U32(0);
                answer.U32(1000);  // the bits' size, and none of them follow
            }
        }
        if (!channel.Send(answerKind, answer))
            break;
    }
    return 0;
}
