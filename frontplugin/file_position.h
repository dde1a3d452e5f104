#pragma once

#include <windows.h>

// A host may hand IsSupported an open file instead of the file's first bytes; every
// plug-in asked then reads from the file's current position and moves it. Taken before
// the first plug-in is asked and put back before each further one, the position the
// host left is what each of them starts from, as if it were the only one asked.
class FilePosition {
public:
    // `dw` as IsSupported received it: by the interface's convention a file handle
    // when its upper 16 bits are zero. Anything that is not a file with a position
    // (a header buffer, a pipe, no handle at all) is left alone.
    explicit FilePosition(ULONG_PTR dw);

    void Restore() const;

private:
    HANDLE file_ = nullptr;
    LARGE_INTEGER position_ = {};
};
