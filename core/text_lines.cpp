#include "text_lines.h"

namespace {
constexpr char kEndOfText = '\x1a';
// Each read is a system call, and under Wine a costly one: a catalogue of 1 000
// records is about 170 KiB.
constexpr std::size_t kChunk = 65536;
}  // namespace

bool TextLines::ReadUpToLineFeed(std::string& line)
{
    for (;;) {
        std::string::size_type lineFeed = buffer_.find('\n', position_);
        if (lineFeed != std::string::npos) {
            line.append(buffer_, position_, lineFeed - position_);
            position_ = lineFeed + 1;
            return true;
        }
        line.append(buffer_, position_, std::string::npos);
        buffer_.resize(kChunk);
        position_ = 0;
        std::size_t got = exhausted_ ? 0 : bytes_->Read(&buffer_[0], buffer_.size());
        buffer_.resize(got);
        if (got == 0) {
            exhausted_ = true;
            return false;
        }
    }
}

bool TextLines::Next(std::string& line)
{
    line.clear();
    if (ended_)
        return false;
    bool complete = ReadUpToLineFeed(line);
    std::string::size_type endOfText = line.find(kEndOfText);
    if (endOfText != std::string::npos) {
        line.resize(endOfText);
        ended_ = true;
        complete = false;
    }
    if (complete && !line.empty() && line.back() == '\r')
        line.pop_back();
    return complete;
}
