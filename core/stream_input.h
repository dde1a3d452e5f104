#pragma once

#include <istream>

#include "text_lines.h"

// A standard stream as the byte source of TextLines.
class StreamInput : public ByteInput {
public:
    explicit StreamInput(std::istream& input) : input_(input) {}

    std::size_t Read(char* buffer, std::size_t size) override
    {
        input_.read(buffer, static_cast<std::streamsize>(size));
        return static_cast<std::size_t>(input_.gcount());
    }

private:
    std::istream& input_;
};
