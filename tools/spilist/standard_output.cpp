#include "standard_output.h"

#include <windows.h>

void WriteStandardOutput(const std::string& text)
{
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!output || output == INVALID_HANDLE_VALUE)
        return;
    const char* next = text.data();
    std::size_t left = text.size();
    // A pipe may take less than it is offered.
    while (left > 0) {
        DWORD chunk = left > 0x10000000 ? 0x10000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(output, next, chunk, &written, nullptr) || written == 0)
            return;
        next += written;
        left -= written;
    }
}
