#include "file_position.h"

FilePosition::FilePosition(ULONG_PTR dw)
{
    if (dw == 0 || (dw >> 16) != 0)
        return;
    HANDLE file = reinterpret_cast<HANDLE>(dw);
    LARGE_INTEGER zero = {};
    // Moving by nothing from the current position only reads it.
    if (SetFilePointerEx(file, zero, &position_, FILE_CURRENT))
        file_ = file;
}

void FilePosition::Restore() const
{
    if (file_)
        SetFilePointerEx(file_, position_, nullptr, FILE_BEGIN);
}
