#include "text_lines.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char kEndOfText = '\x1a';
// Each read is a system call, and each page of the buffer is touched fresh when it is
// first filled; under Wine both are costly. 16 KiB took less time than 4 KiB (more
// reads) and than 64 KiB (more pages) for a catalogue of 1 000 records (170 KiB).
constexpr std::size_t kChunk = 16384;

// Lines are scanned a machine word at a time: nearly every byte of a catalogue is
// printable, and the platform's memchr is a plain byte loop under Wine.
using Word = std::uintptr_t;
constexpr Word kOnes = ~Word(0) / 255;
constexpr Word kHighBits = kOnes * 0x80;

// True when one of the word's bytes is below `limit` (at most 0x80).
bool HasByteBelow(const char* place, unsigned limit)
{
    Word word;
    std::memcpy(&word, place, sizeof word);
    return ((word - kOnes * limit) & ~word & kHighBits) != 0;
}

// The first line feed or Ctrl-Z in [place, end), or end.
const char* FindLineEnd(const char* place, const char* end)
{
    for (;;) {
        while (static_cast<std::size_t>(end - place) >= sizeof(Word) && !HasByteBelow(place, kEndOfText + 1))
            place += sizeof(Word);
        const char* stop = static_cast<std::size_t>(end - place) >= sizeof(Word) ? place + sizeof(Word) : end;
        for (; place != stop; ++place) {
            if (*place == '\n' || *place == kEndOfText)
                return place;
        }
        if (place == end)
            return end;
    }
}

}  // namespace

std::string_view UpToFirstZero(std::string_view text)
{
    const char* place = text.data();
    const char* end = place + text.size();
    while (static_cast<std::size_t>(end - place) >= sizeof(Word) && !HasByteBelow(place, 1))
        place += sizeof(Word);
    for (; place != end; ++place) {
        if (*place == '\0')
            return text.substr(0, static_cast<std::size_t>(place - text.data()));
    }
    return text;
}

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

bool TextLines::Next(std::string_view& line)
{
    line = std::string_view();
    if (ended_)
        return false;
    bool carrying = false;
    for (;;) {
        const char* begin = chunk_.get() + position_;
        const char* end = chunk_.get() + filled_;
        const char* stop = chunk_ ? FindLineEnd(begin, end) : end;
        if (stop != end) {
            position_ = static_cast<std::size_t>(stop - chunk_.get()) + 1;
            if (carrying) {
                carried_.append(begin, stop);
                line = carried_;
            } else {
                line = std::string_view(begin, static_cast<std::size_t>(stop - begin));
            }
            if (*stop == kEndOfText) {
                ended_ = true;
                return false;
            }
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            return true;
        }
        if (!carrying) {
            carried_.clear();
            carrying = true;
        }
        if (begin != end)
            carried_.append(begin, end);
        if (!Refill()) {
            line = carried_;
            return false;
        }
    }
}

bool TextLines::Next(std::string& line)
{
    std::string_view view;
    bool complete = Next(view);
    line.assign(view.data(), view.size());
    return complete;
}
