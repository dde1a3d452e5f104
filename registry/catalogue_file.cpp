#include "catalogue_file.h"

#include <windows.h>

#include "catalogue_reader.h"
#include "catalogue_location.h"
#include "module_path.h"
#include "registry_module.h"

namespace {

// The catalogue file, read raw (the reader gives the text-mode line rules). Not a
// standard stream: one would set up the C++ runtime's locale in this library, and the
// statically linked runtime keeps two handles of it for every unloaded copy.
class FileInput : public ByteInput {
public:
    explicit FileInput(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {
    }
    ~FileInput() override
    {
        if (IsOpen())
            CloseHandle(file_);
    }
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

    std::size_t Read(char* buffer, std::size_t size) override
    {
        DWORD got = 0;
        DWORD wanted = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        if (!ReadFile(file_, buffer, wanted, &got, nullptr))
            return 0;
        return got;
    }

private:
    HANDLE file_;
};

}  // namespace

std::string CataloguePath()
{
    return CataloguePathIn(FolderOf(ModuleFileName(RegistryModule())), GetCommandLineA());
}

void ReadCatalogueFile(const std::string& path, ModuleCatalogue& catalogue)
{
    FileInput file(path);
    if (!file.IsOpen())
        return;
    ReadCatalogueInto(file, catalogue.modules);
}
