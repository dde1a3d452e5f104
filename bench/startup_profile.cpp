// Where the start-up time of a host with BriskImp.spi goes: the host's work of the
// start-up benchmark, done step by step in a fresh process, each step timed alone.
// The libraries that BriskImp.spi would load on its own (the registry library, the
// bitmap reader) are loaded first, each as its own step, so that BriskImp's later
// load of the same file only counts a reference and the step that would have loaded
// it shows only its own work. Beside them, as references that BriskImp's start does
// not need: the load of a library that does nothing (no runtime at all), of the no-op
// plug-in (built as ours are, doing nothing) and of BriskArc.
//
// Usage: startup_profile BRISK_FOLDER READER_PATH PICTURE
// Prints key=value lines (milliseconds); exit code 0 only when the picture was decoded.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_files.h"
#include "gui_host_libraries.h"
#include "image_plugin.h"
#include "stopwatch.h"
#include "set_names.h"

namespace {

// One reference to a loaded library, released on destruction.
class LibraryReference {
public:
    explicit LibraryReference(const std::string& path) : library_(LoadLibraryA(path.c_str()))
    {
        if (!library_)
            throw std::runtime_error("cannot load " + path);
    }
    ~LibraryReference() { FreeLibrary(library_); }
    LibraryReference(const LibraryReference&) = delete;
    LibraryReference& operator=(const LibraryReference&) = delete;
    HMODULE Get() const { return library_; }

private:
    HMODULE library_;
};

using GetAllModulesFunction = void*();

// Runs `step`, prints its time under `key`.
template <class Step>
void Timed(const char* key, Step step)
{
    Stopwatch clock;
    step();
    std::printf("%s=%.3f\n", key, clock.Seconds() * 1000);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_profile BRISK_FOLDER READER_PATH PICTURE\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string readerPath = argv[2];
    const std::string picture = argv[3];
    try {
        // The same system libraries as the start-up host, loaded before main().
        TieToGuiHostLibraries();

        const std::string built = ProgramFolder() + "\\";
        std::unique_ptr<LibraryReference> nothing, noop, archiveFront, registry, reader;
        std::unique_ptr<ImagePlugin> front;
        Timed("nothing_ms", [&] { nothing = std::make_unique<LibraryReference>(built + "nothing.dll"); });
        Timed("noop_ms", [&] { noop = std::make_unique<LibraryReference>(built + "noop" BRISK_PLUGIN_EXTENSION); });
        Timed("archive_front_ms",
              [&] { archiveFront = std::make_unique<LibraryReference>(built + BRISK_ARCHIVE_FRONT); });
        Timed("front_ms", [&] { front = std::make_unique<ImagePlugin>(folder + "\\" BRISK_IMAGE_FRONT); });
        RequireImageEntryPoints(*front, BRISK_IMAGE_FRONT);
        Timed("registry_ms", [&] { registry = std::make_unique<LibraryReference>(folder + "\\" BRISK_REGISTRY_LIBRARY); });
        Timed("catalogue_ms", [&] {
            auto* getAllModules = reinterpret_cast<GetAllModulesFunction*>(
                reinterpret_cast<void (*)()>(GetProcAddress(registry->Get(), "GetAllModules")));
            if (!getAllModules || !getAllModules())
                throw std::runtime_error("no catalogue");
        });
        // The first call builds the module set and the whole information table.
        Timed("table_ms", [&] { front->Information(0); });
        Timed("information_ms", [&] {
            char text[1024];
            for (int infono = 0; front->GetPluginInfo(infono, text, sizeof text) > 0; ++infono) {
            }
        });
        Timed("reader_ms", [&] { reader = std::make_unique<LibraryReference>(readerPath); });
        char head[2048] = {};
        ReadFileStart(picture, sizeof head).copy(head, sizeof head);
        int accepted = 0;
        Timed("probe_ms", [&] { accepted = front->IsSupported(picture.c_str(), reinterpret_cast<ULONG_PTR>(head)); });
        HLOCAL info = nullptr;
        HLOCAL bits = nullptr;
        int result = kSpiUnknownFormat;
        Timed("decode_ms", [&] {
            result = front->GetPicture(picture.c_str(), 0, kSpiInputFile, &info, &bits, nullptr, 0);
        });
        bool decoded = accepted == 1 && result == kSpiSuccess && info && bits;
        if (info)
            LocalFree(info);
        if (bits)
            LocalFree(bits);
        std::printf("decoded=%d\n", decoded ? 1 : 0);
        return decoded ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_profile: %s\n", error.what());
        return 3;
    }
}
