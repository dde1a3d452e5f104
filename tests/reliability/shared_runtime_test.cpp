// A host that has the shared MinGW runtime (libgcc_s_dw2-1.dll) loaded, as hosts built
// with MinGW do: our libraries carry their own runtime, and an exception thrown and
// caught inside one of them must still be caught there, not end the host.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "test_files.h"

namespace {

using ThrowAndCatchFn = int(WINAPI*)(int);

TEST(SharedRuntimeInHost, ExceptionsInsideOurLibrariesStayCaught)
{
    HMODULE shared = LoadLibraryA((BinFolder() + "libgcc_s_dw2-1.dll").c_str());
    ASSERT_NE(shared, nullptr) << GetLastError();
    HMODULE library = LoadLibraryA((BinFolder() + "unload_probe.dll").c_str());
    ASSERT_NE(library, nullptr);
    auto probe = reinterpret_cast<ThrowAndCatchFn>(reinterpret_cast<void*>(GetProcAddress(library, "ThrowAndCatch")));
    ASSERT_NE(probe, nullptr);
    // The size of what() of the caught exception, "probe 7".
    EXPECT_EQ(probe(7), 7);
    FreeLibrary(library);
    FreeLibrary(shared);
}

}  // namespace
