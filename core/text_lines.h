#pragma once

#include <cstddef>
#include <string>

// Where TextLines takes its bytes from. Standard streams come through StreamInput, so a
// library that reads files by other means links none of the runtime's stream and
// locale code: less to load at every start, and no locale state left behind when the
// library is unloaded.
class ByteInput {
public:
    virtual ~ByteInput() = default;
    // Up to `size` bytes into `buffer`; 0 at the end of the input or on a read failure.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// Reads lines from a binary source the way a text-mode stream of the platform C
// runtime delivers them: a CR directly before the LF is dropped, any other CR is
// kept, and a Ctrl-Z byte ends the input. Lines may be of any length.
class TextLines {
public:
    explicit TextLines(ByteInput& input) : bytes_(&input) {}
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;

    // Reads the next line into `line`. True when the line was ended by a line feed;
    // false when the input ended or failed before one (a last line without a line
    // break is still stored in `line`, but reported as not complete).
    bool Next(std::string& line);

    // False once the input has ended, failed, or met Ctrl-Z.
    bool Good() const { return !ended_ && !exhausted_; }

private:
    // Appends bytes up to the next line feed (dropped) to `line`; true when one was found.
    bool ReadUpToLineFeed(std::string& line);

    ByteInput* bytes_;
    std::string buffer_;  // read from bytes_, from position_ on not yet taken
    std::size_t position_ = 0;
    bool exhausted_ = false;
    bool ended_ = false;
};
