// A library that throws and catches inside, as the plug-ins do when a call fails:
// the exception machinery is what used to keep a TLS index and handles per load.
#include <windows.h>
#include <pthread.h>

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

namespace {
pthread_once_t once = PTHREAD_ONCE_INIT;
int attempts = 0;

void InitialiserThatThrowsTheFirstTime()
{
    if (++attempts == 1)
        throw std::runtime_error("first attempt");
}
}  // namespace

// Three once-only calls whose initialiser throws the first time: how often it ran.
extern "C" int WINAPI OnceAttempts()
{
    for (int i = 0; i < 3; ++i) {
        try {
            pthread_once(&once, InitialiserThatThrowsTheFirstTime);
        } catch (const std::exception&) {
        }
    }
    return attempts;
}
