#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

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

    // Reads the next line. True when the line was ended by a line feed; false when the
    // input ended or failed before one (a last line without a line break is still
    // given, but reported as not complete). The view stays valid until the next call.
    bool Next(std::string_view& line);
    bool Next(std::string& line);
    // The same, with the line taken as a zero-terminated string: the view ends at the
    // line's first zero byte.
    bool NextText(std::string_view& text);

    // False once the input has ended, failed, or met Ctrl-Z.
    bool Good() const { return !ended_ && !exhausted_; }

private:
    // The next chunk of input; false at its end.
    bool Refill();
    // Next's work; `textSize` is the line's length up to its first zero byte.
    bool Take(std::string_view& line, std::size_t& textSize);

    ByteInput* bytes_;
    std::unique_ptr<char[]> chunk_;
    std::size_t position_ = 0;  // in chunk_, the first byte not yet taken
    std::size_t filled_ = 0;
    std::string carried_;  // a line that runs over the end of a chunk
    bool exhausted_ = false;
    bool ended_ = false;
};
