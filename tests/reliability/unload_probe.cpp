// A library that throws and catches inside, as the plug-ins do when a call fails:
// the exception machinery is what used to keep a TLS index and handles per load.
#include <windows.h>

#include <stdexcept>
#include <string>

extern "C" int WINAPI ThrowAndCatch(int value)
{
    try {
        throw std::runtime_error("probe " + std::to_string(value));
    } catch (const std::exception& error) {
        return static_cast<int>(std::string(error.what()).size());
    }
}
