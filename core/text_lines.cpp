#include "text_lines.h"

#include "word_scan.h"

namespace {

constexpr char kEndOfText = '\x1a';
// Each read is a system call, and each page of the buffer is touched fresh when it is
// first filled; under Wine both are costly. 16 KiB took less time than 4 KiB (more
// reads) and than 64 KiB (more pages) for a catalogue of 1 000 records (170 KiB).
constexpr std::size_t kChunk = 16384;

using word_scan::BytesBelow;
using word_scan::FirstFlaggedByte;
using word_scan::Word;

// The first line feed or Ctrl-Z in [place, end), or end. The first zero byte before it
// goes to `zero`, unless `zero` is already set.
const char* FindLineEnd(const char* place, const char* end, const char*& zero)
{
    while (static_cast<std::size_t>(end - place) >= sizeof(Word)) {
        const Word flags = BytesBelow(place, kEndOfText + 1);
        if (flags == 0) {
            place += sizeof(Word);
            continue;
        }
        place += FirstFlaggedByte(flags);
        if (*place == '\n' || *place == kEndOfText)
            return place;
        if (*place == '\0' && !zero)
            zero = place;
        ++place;
    }
    for (; place != end; ++place) {
        if (*place == '\n' || *place == kEndOfText)
            return place;
        if (*place == '\0' && !zero)
            zero = place;
    }
    return end;
}

std::string_view UpToFirstZero(std::string_view text)
{
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

}  // namespace

bool TextLines::Refill()
{
    position_ = 0;
    filled_ = 0;
    if (exhausted_)
        return false;
    if (!chunk_)
        chunk_.reset(new char[kChunk]);
    filled_ = bytes_->Read(chunk_.get(), kChunk);
    if (filled_ == 0)
        exhausted_ = true;
    return filled_ != 0;
}

bool TextLines::Take(std::string_view& line, std::size_t& textSize)
{
    line = std::string_view();
    textSize = 0;
    if (ended_)
        return false;
    bool carrying = false;
    for (;;) {
        const char* begin = chunk_.get() + position_;
        const char* end = chunk_.get() + filled_;
        const char* zero = nullptr;
        const char* stop = chunk_ ? FindLineEnd(begin, end, zero) : end;
        if (stop != end) {
            position_ = static_cast<std::size_t>(stop - chunk_.get()) + 1;
            if (carrying) {
                carried_.append(begin, stop);
                line = carried_;
            } else {
                line = std::string_view(begin, static_cast<std::size_t>(stop - begin));
            }
            const bool complete = *stop != kEndOfText;
            if (!complete)
                ended_ = true;
            else if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            // A zero byte before the end is never the dropped CR's place.
            if (carrying)
                textSize = UpToFirstZero(line).size();
            else
                textSize = zero ? static_cast<std::size_t>(zero - begin) : line.size();
            return complete;
        }
        if (!carrying) {
            carried_.clear();
            carrying = true;
        }
        if (begin != end)
            carried_.append(begin, end);
        if (!Refill()) {
            line = carried_;
            textSize = UpToFirstZero(line).size();
            return false;
        }
    }
}

bool TextLines::Next(std::string_view& line)
{
    std::size_t textSize;
    return Take(line, textSize);
}

bool TextLines::NextText(std::string_view& text)
{
    std::size_t textSize;
    const bool complete = Take(text, textSize);
    text = text.substr(0, textSize);
    return complete;
}

bool TextLines::Next(std::string& line)
{
    std::string_view view;
    bool complete = Next(view);
    line.assign(view.data(), view.size());
    return complete;
}
