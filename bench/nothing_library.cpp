// The benchmarks' load floor: a library that does nothing, not even start a runtime.
#include <windows.h>

extern "C" BOOL WINAPI NothingEntry(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
