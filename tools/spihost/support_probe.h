#pragma once

// What IsSupported gets as its second argument: by default a pointer to the file's
// first 2 KB (zero-filled past its end), as hosts usually pass it; with --handle an
// open file handle, rewound before every use.
#include <memory>
#include <string>

#include "host_files.h"

class SupportProbe {
public:
    SupportProbe(const std::string& path, bool byHandle);
    ULONG_PTR Argument() const;
    const char* KindText() const { return file_ ? "a file handle" : "the first 2 KB of the file"; }

private:
    char head_[2048] = {};
    std::unique_ptr<InputHandle> file_;
};
