#include "message_pump.h"

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
        while (!quit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = message.wParam;
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode));
    return signalled;
}
