#pragma once

#include <windows.h>

// Keeps the process's standard-output handle out of the plug-ins' reach: while the
// guard lives, the process's standard output is a duplicate of the original handle,
// so a plug-in that closes "its" standard output closes only the duplicate. The
// destructor puts the original back and closes the duplicate.
class StandardOutputGuard {
public:
    StandardOutputGuard();
    ~StandardOutputGuard();
    StandardOutputGuard(const StandardOutputGuard&) = delete;
    StandardOutputGuard& operator=(const StandardOutputGuard&) = delete;

private:
    HANDLE original_;
    HANDLE duplicate_ = nullptr;
};
