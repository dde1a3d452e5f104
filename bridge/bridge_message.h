#pragma once

// A message's fields, one after another: 32- and 64-bit numbers and counted byte
// blocks. The reader checks every length against what is there and throws
// EBrokenMessage when the message is short.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bridge {

struct EBrokenMessage {};

class MessageWriter {
public:
    void U32(std::uint32_t value);
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void I64(std::int64_t value);
    void Bytes(const void* data, std::size_t size);
    // A counted block whose bytes stay where they are until CopyTo puts the message
    // into the channel: a picture crosses with one copy. The caller keeps them alive
    // until then.
    void BytesInPlace(const void* data, std::size_t size);

    std::size_t Size() const { return fields_.size() + placedSize_; }
    // Writes the whole message, Size() bytes, to `destination`.
    void CopyTo(unsigned char* destination) const;
    // Empties the message and keeps its memory, so a writer used for every message
    // touches fresh pages only when a message is larger than all before.
    void Clear()
    {
        fields_.clear();
        placed_.clear();
        placedSize_ = 0;
    }

private:
    // A block left in place, and where among the fields it belongs.
    struct Placed {
        std::size_t fieldsBefore;
        const unsigned char* data;
        std::size_t size;
    };
    std::vector<unsigned char> fields_;
    std::vector<Placed> placed_;
    std::size_t placedSize_ = 0;
};

class MessageReader {
public:
    MessageReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t U32();
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    std::int64_t I64();
    // A counted block: its bytes stay in the message.
    const unsigned char* Bytes(std::size_t* size);
    std::string Text();

private:
    const unsigned char* Take(std::size_t size);
    const unsigned char* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

}  // namespace bridge
