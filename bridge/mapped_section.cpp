#include "mapped_section.h"

bool MappedSection::Create(std::uint32_t size, const char* name)
{
    Unmap();
    *section_.Put() = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    return section_.Get() && Map(size);
}

bool MappedSection::Open(const char* name, std::uint32_t size)
{
    Unmap();
    *section_.Put() = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name);
    return section_.Get() && Map(size);
}

bool MappedSection::Adopt(HANDLE section, std::uint32_t size)
{
    Unmap();
    *section_.Put() = section;
    return section && Map(size);
}

bool MappedSection::Map(std::uint32_t size)
{
    view_ = MapViewOfFile(section_.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, size);
    if (!view_) {
        section_.Close();
        return false;
    }
    size_ = size;
    return true;
}

void MappedSection::Unmap()
{
    if (view_)
        UnmapViewOfFile(view_);
    view_ = nullptr;
    size_ = 0;
    section_.Close();
}
