#include "message_pump.h"

namespace {

// Takes the next message in the form its window takes it: a character typed into a
// Unicode window must not pass through the ANSI code page on its way.
bool TakeMessage(MSG& message)
{
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
        return false;
    // The first message is taken again by its window and kind; -1 stands for thread
    // messages, which have none.
    const HWND window = message.hwnd ? message.hwnd : reinterpret_cast<HWND>(-1);
    const UINT kind = message.message;
    if (message.hwnd && !IsWindowUnicode(message.hwnd))
        return PeekMessageA(&message, window, kind, kind, PM_REMOVE) != 0;
    return PeekMessageW(&message, window, kind, kind, PM_REMOVE) != 0;
}

}  // namespace

int WaitPumpingMessages(const HANDLE* handles, DWORD count, DWORD timeLimit)
{
    const ULONGLONG start = GetTickCount64();
    bool quit = false;
    WPARAM quitCode = 0;
    int signalled = -1;
    for (;;) {
        DWORD remaining = INFINITE;
        if (timeLimit != INFINITE) {
            ULONGLONG passed = GetTickCount64() - start;
            if (passed >= timeLimit)
                break;
            remaining = static_cast<DWORD>(timeLimit - passed);
        }
        // After WM_QUIT a modal loop stops pumping; the message is posted again below.
        DWORD woken = quit ? WaitForMultipleObjects(count, handles, FALSE, remaining)
                           : MsgWaitForMultipleObjects(count, handles, FALSE, remaining, QS_ALLINPUT);
        if (woken < WAIT_OBJECT_0 + count) {
            signalled = static_cast<int>(woken - WAIT_OBJECT_0);
            break;
        }
        if (woken != WAIT_OBJECT_0 + count)
            break;
        MSG message;
        while (!quit && TakeMessage(message)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                break;
            }
            TranslateMessage(&message);
            if (message.hwnd && !IsWindowUnicode(message.hwnd))
                DispatchMessageA(&message);
            else
                DispatchMessageW(&message);
        }
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
    return signalled;
}
