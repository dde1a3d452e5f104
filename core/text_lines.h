#pragma once

#include <istream>
#include <string>

// Reads lines from a binary stream the way a text-mode stream of the platform C
// runtime delivers them: a CR directly before the LF is dropped, any other CR is
// kept, and a Ctrl-Z byte ends the input. Lines may be of any length.
class TextLines {
public:
    explicit TextLines(std::istream& input) : input_(input) {}

    // Reads the next line into `line`. True when the line was ended by a line feed;
    // false when the input ended or failed before one (a last line without a line
    // break is still stored in `line`, but reported as not complete).
    bool Next(std::string& line);

    // False once the input has ended, failed, or met Ctrl-Z.
    bool Good() const { return !ended_ && input_.good(); }

private:
    std::istream& input_;
    bool ended_ = false;
};
