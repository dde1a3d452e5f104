#include "tar_format.h"

#include <cstring>

namespace {

// Field positions of the ustar header.
constexpr std::size_t kNameAt = 0, kNameBytes = 100;
constexpr std::size_t kSizeAt = 124, kSizeBytes = 12;
constexpr std::size_t kModifiedAt = 136, kModifiedBytes = 12;
constexpr std::size_t kChecksumAt = 148, kChecksumBytes = 8;
constexpr std::size_t kTypeAt = 156;
constexpr std::size_t kMagicAt = 257;
constexpr std::size_t kPrefixAt = 345, kPrefixBytes = 155;

// An octal number as tar writes it: optional leading blanks, digits, then a blank
// or NUL or the end of the field. Base-256 numbers (high bit set) are not read.
bool ReadOctal(const unsigned char* field, std::size_t width, std::uint64_t& value, bool emptyIsZero)
{
    std::size_t at = 0;
    while (at < width && field[at] == ' ')
        ++at;
    std::uint64_t number = 0;
    std::size_t digits = 0;
    for (; at < width && field[at] >= '0' && field[at] <= '7'; ++at, ++digits)
        number = number * 8 + (field[at] - '0');
    if (at < width && field[at] != ' ' && field[at] != '\0')
        return false;
    if (digits == 0 && !emptyIsZero)
        return false;
    value = number;
    return true;
}

std::string FieldText(const unsigned char* field, std::size_t width)
{
    const void* end = std::memchr(field, '\0', width);
    std::size_t length = end ? static_cast<const unsigned char*>(end) - field : width;
    return std::string(reinterpret_cast<const char*>(field), length);
}

bool ChecksumMatches(const unsigned char* block, std::uint64_t stored)
{
    // The checksum field counts as blanks. Old writers summed signed bytes.
    std::uint64_t unsignedSum = 0;
    std::int64_t signedSum = 0;
    for (std::size_t i = 0; i < kTarBlockSize; ++i) {
        bool inField = i >= kChecksumAt && i < kChecksumAt + kChecksumBytes;
        unsigned char byte = inField ? ' ' : block[i];
        unsignedSum += byte;
        signedSum += static_cast<signed char>(byte);
    }
    return stored == unsignedSum || static_cast<std::int64_t>(stored) == signedSum;
}

bool IsZeroBlock(const unsigned char* block)
{
    for (std::size_t i = 0; i < kTarBlockSize; ++i) {
        if (block[i] != 0)
            return false;
    }
    return true;
}

// Links, devices and folders carry no data whatever their size field says.
bool HasData(char type)
{
    return !(type >= '1' && type <= '6');
}

std::uint64_t PaddedSize(std::uint64_t size)
{
    return (size + kTarBlockSize - 1) / kTarBlockSize * kTarBlockSize;
}

}  // namespace

TarCheck ReadTarHeader(const unsigned char* block, TarHeader& header)
{
    if (std::memcmp(block + kMagicAt, "ustar", 5) != 0 || (block[kMagicAt + 5] != '\0' && block[kMagicAt + 5] != ' '))
        return TarCheck::kNotTar;
    std::uint64_t checksum = 0;
    if (!ReadOctal(block + kChecksumAt, kChecksumBytes, checksum, false) || !ChecksumMatches(block, checksum))
        return TarCheck::kNotTar;

    TarHeader read;
    std::uint64_t modified = 0;
    if (!ReadOctal(block + kSizeAt, kSizeBytes, read.size, false) ||
        !ReadOctal(block + kModifiedAt, kModifiedBytes, modified, true))
        return TarCheck::kBroken;
    read.modified = static_cast<std::int64_t>(modified);
    read.type = static_cast<char>(block[kTypeAt]);
    read.name = FieldText(block + kNameAt, kNameBytes);
    // Only POSIX ustar has the name prefix; GNU keeps other fields there.
    bool posix = block[kMagicAt + 5] == '\0';
    std::string prefix = posix ? FieldText(block + kPrefixAt, kPrefixBytes) : std::string();
    if (!prefix.empty())
        read.name = prefix + "/" + read.name;
    if (read.name.empty())
        return TarCheck::kBroken;
    header = read;
    return TarCheck::kOk;
}

bool IsTarFile(char type)
{
    return type == '0' || type == '\0' || type == '7';
}

TarCheck ListTarEntries(ByteSource& archive, std::vector<TarEntry>& entries)
{
    std::vector<TarEntry> found;
    std::uint64_t total = archive.Size();
    unsigned char block[kTarBlockSize];
    std::uint64_t offset = 0;
    while (total - offset >= kTarBlockSize) {
        if (!archive.Read(offset, block, kTarBlockSize))
            return TarCheck::kBroken;
        if (IsZeroBlock(block))
            break;
        TarHeader header;
        TarCheck check = ReadTarHeader(block, header);
        if (check != TarCheck::kOk)
            return offset == 0 ? check : TarCheck::kBroken;
        std::uint64_t dataOffset = offset + kTarBlockSize;
        std::uint64_t dataSize = HasData(header.type) ? header.size : 0;
        if (dataSize > total - dataOffset)
            return TarCheck::kBroken;
        if (IsTarFile(header.type))
            found.push_back(TarEntry{header.name, offset, dataOffset, header.size, header.modified});
        // The last entry's padding may be missing; the loop then ends.
        std::uint64_t padded = PaddedSize(dataSize);
        if (padded > total - dataOffset)
            break;
        offset = dataOffset + padded;
    }
    if (offset == 0 && found.empty() && total < kTarBlockSize)
        return TarCheck::kNotTar;
    entries.swap(found);
    return TarCheck::kOk;
}

TarCheck ReadTarEntryAt(ByteSource& archive, std::uint64_t headerOffset, TarEntry& entry)
{
    std::uint64_t total = archive.Size();
    unsigned char block[kTarBlockSize];
    if (headerOffset > total || total - headerOffset < kTarBlockSize ||
        !archive.Read(headerOffset, block, kTarBlockSize))
        return TarCheck::kBroken;
    TarHeader header;
    TarCheck check = ReadTarHeader(block, header);
    if (check != TarCheck::kOk)
        return TarCheck::kBroken;
    std::uint64_t dataOffset = headerOffset + kTarBlockSize;
    if (!IsTarFile(header.type) || header.size > total - dataOffset)
        return TarCheck::kBroken;
    entry = TarEntry{header.name, headerOffset, dataOffset, header.size, header.modified};
    return TarCheck::kOk;
}
