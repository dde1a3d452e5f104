#include "stdout_guard.h"

StandardOutputGuard::StandardOutputGuard() : original_(GetStdHandle(STD_OUTPUT_HANDLE))
{
    HANDLE process = GetCurrentProcess();
    // Without a duplicate (no standard output, or the duplication failed) the
    // original stays installed: nothing better can be offered to the plug-ins.
    if (!original_ || original_ == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(process, original_, process, &duplicate_, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        duplicate_ = nullptr;
        return;
    }
    SetStdHandle(STD_OUTPUT_HANDLE, duplicate_);
}

StandardOutputGuard::~StandardOutputGuard()
{
    if (!duplicate_)
        return;
    SetStdHandle(STD_OUTPUT_HANDLE, original_);
    CloseHandle(duplicate_);
}
