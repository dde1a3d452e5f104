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
    const std::vector<unsigned char>& Data() const { return data_; }
    // Empties the message and keeps its memory, so a writer used for every message
    // touches fresh pages only when a message is larger than all before.
    void Clear() { data_.clear(); }

private:
    std::vector<unsigned char> data_;
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
