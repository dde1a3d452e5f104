#pragma once

#include <windows.h>

// Waits for one of `handles` as a modal dialog waits: the calling thread's window
// messages keep flowing meanwhile. The index of the signalled handle, or -1 when
// `timeLimit` milliseconds pass first (INFINITE waits for good).
int WaitPumpingMessages(const HANDLE* handles, DWORD count, DWORD timeLimit);
