#pragma once

#include <string>
#include <vector>

// The text buffer handed to GetPluginInfo; the caller decides when it grows.
class InformationBuffer {
public:
    explicit InformationBuffer(int size) : bytes_(size) {}

    // Spaces in every byte but the last, which is 0: a plug-in that answers without
    // writing leaves a full buffer, and one that writes a short text leaves its 0.
    void Prefill();

    char* Data() { return bytes_.data(); }
    int Size() const { return static_cast<int>(bytes_.size()); }
    // New bytes are 0.
    void Resize(int size) { bytes_.resize(size, '\0'); }

    // True when the answer left no room (size - 1 characters or more): it may have
    // been cut. The text is never searched past the buffer's end, even when a plug-in
    // overwrote the last byte.
    bool Full() const;

    // The answer up to its first zero byte (or the buffer's end).
    std::string Text() const;

private:
    std::size_t TextLength() const;

    std::vector<char> bytes_;
};
