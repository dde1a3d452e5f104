// Once-only initialisation and thread keys for the statically linked C++ runtime of
// a library that hosts load and free again and again.
//
// The runtime's unwinder, locale and thread-local code reach winpthreads through
// pthread_once and the pthread key calls. Both make winpthreads build an object for
// the calling thread: a TLS index and two handles that are released only when that
// thread ends, never when the library is unloaded. On 32-bit Windows the unwinder
// registers the library's frames at load, so every load cost one TLS index, and a
// host that loads a plug-in per file ran out of them after about a thousand files.
//
// The linker points those calls here (--wrap). The once flags need no thread object,
// and the keys are plain Windows TLS slots that this library frees when it is unloaded,
// along with the rest the runtime keeps until process exit.
#include <windows.h>
#include <pthread.h>

#include <cerrno>

#if defined(__GLIBCXX__)
// Frees the runtime's emergency exception pool, which it otherwise keeps for the
// life of the process: tens of kilobytes lost with every unload.
namespace __gnu_cxx {
void __freeres();
}
#endif

namespace {

enum OnceState : LONG { kOnceNotRun = 0, kOnceRunning = 1, kOnceDone = 2 };

enum SlotState : LONG { kSlotFree = 0, kSlotBusy = 1, kSlotLive = 2 };

// The runtime creates one or two keys per library; a few more leave room.
constexpr unsigned kMaxKeys = 16;

struct KeySlot {
    volatile LONG state;
    DWORD index;
    void (*destructor)(void*);
};

KeySlot slots[kMaxKeys];

KeySlot* LiveSlot(pthread_key_t key)
{
    if (key >= kMaxKeys || slots[key].state != kSlotLive)
        return nullptr;
    return &slots[key];
}

// As at the end of a thread: each value of this thread is cleared, then destroyed.
void DestroyThreadValues()
{
    for (KeySlot& slot : slots) {
        if (slot.state != kSlotLive || !slot.destructor)
            continue;
        void* value = TlsGetValue(slot.index);
        if (value) {
            TlsSetValue(slot.index, nullptr);
            slot.destructor(value);
        }
    }
}

void FreeAllKeys()
{
    for (KeySlot& slot : slots) {
        if (InterlockedCompareExchange(&slot.state, kSlotBusy, kSlotLive) == kSlotLive) {
            TlsFree(slot.index);
            InterlockedExchange(&slot.state, kSlotFree);
        }
    }
}

void NTAPI OnThreadOrLibraryEnd(PVOID, DWORD reason, PVOID reserved)
{
    if (reason == DLL_THREAD_DETACH) {
        DestroyThreadValues();
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // FreeLibrary, not process exit: give back what this library took.
        DestroyThreadValues();
        FreeAllKeys();
#if defined(__GLIBCXX__)
        __gnu_cxx::__freeres();
#endif
    }
}

} // namespace

extern "C" {

// The loader calls the callbacks of this section at every thread and library end.
__attribute__((section(".CRT$XLE"), used)) PIMAGE_TLS_CALLBACK brisk_thread_runtime_callback = OnThreadOrLibraryEnd;

int __wrap_pthread_once(pthread_once_t* once, void (*init)(void))
{
    volatile LONG* state = reinterpret_cast<volatile LONG*>(once);
    if (InterlockedCompareExchange(state, kOnceRunning, kOnceNotRun) == kOnceNotRun) {
        // An initialiser that throws has not run: the next caller tries again instead
        // of waiting for good.
        try {
            init();
        } catch (...) {
            InterlockedExchange(state, kOnceNotRun);
            throw;
        }
        InterlockedExchange(state, kOnceDone);
        return 0;
    }
    while (InterlockedCompareExchange(state, kOnceDone, kOnceDone) != kOnceDone)
        Sleep(0);
    return 0;
}

int __wrap_pthread_key_create(pthread_key_t* key, void (*destructor)(void*))
{
    DWORD index = TlsAlloc();
    if (index == TLS_OUT_OF_INDEXES)
        return EAGAIN;
    for (unsigned i = 0; i < kMaxKeys; ++i) {
        KeySlot& slot = slots[i];
        if (InterlockedCompareExchange(&slot.state, kSlotBusy, kSlotFree) == kSlotFree) {
            slot.index = index;
            slot.destructor = destructor;
            InterlockedExchange(&slot.state, kSlotLive);
            *key = i;
            return 0;
        }
    }
    TlsFree(index);
    return EAGAIN;
}

int __wrap_pthread_key_delete(pthread_key_t key)
{
    if (key >= kMaxKeys || InterlockedCompareExchange(&slots[key].state, kSlotBusy, kSlotLive) != kSlotLive)
        return EINVAL;
    TlsFree(slots[key].index);
    InterlockedExchange(&slots[key].state, kSlotFree);
    return 0;
}

// The unwinder asks for thread values while an error code may still be wanted.
void* __wrap_pthread_getspecific(pthread_key_t key)
{
    const KeySlot* slot = LiveSlot(key);
    if (!slot)
        return nullptr;
    DWORD error = GetLastError();
    void* value = TlsGetValue(slot->index);
    SetLastError(error);
    return value;
}

int __wrap_pthread_setspecific(pthread_key_t key, const void* value)
{
    const KeySlot* slot = LiveSlot(key);
    if (!slot)
        return EINVAL;
    DWORD error = GetLastError();
    BOOL stored = TlsSetValue(slot->index, const_cast<void*>(value));
    SetLastError(error);
    return stored ? 0 : ENOMEM;
}

} // extern "C"
