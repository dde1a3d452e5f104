#pragma once

// The input of a W request as an ANSI entry point takes it.
#include <windows.h>

#include <optional>
#include <string>

#include "code_page_text.h"
#include "plugin_interface.h"

class WideInput {
public:
    WideInput(LPCWSTR buf, unsigned int flag) : buf_(buf), flag_(flag) {}

    // `buf` for an ANSI entry point: a memory image unchanged, a file name as
    // AnsiNameOfFile gives it (worked out on the first call), or null when the file
    // has no ANSI name.
    LPCSTR Ansi()
    {
        if ((flag_ & kSpiInputMask) != kSpiInputFile || !buf_)
            return reinterpret_cast<LPCSTR>(buf_);
        if (!converted_) {
            name_ = AnsiNameOfFile(buf_);
            converted_ = true;
        }
        return name_ ? name_->c_str() : nullptr;
    }

private:
    LPCWSTR buf_;  // not owned: the host's argument, valid for the request
    unsigned int flag_;
    bool converted_ = false;
    std::optional<std::string> name_;
};
