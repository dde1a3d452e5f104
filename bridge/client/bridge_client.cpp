#include "bridge_client.h"

#include "message_pump.h"
#include "module_path.h"
#include "set_names.h"

namespace {

// How long the helper may keep silent in a call before it counts as hung. Progress
// requests restart it; the plug-in's own dialogs have no limit.
constexpr DWORD kCallTimeLimit = 30000;
constexpr DWORD kLoadTimeLimit = 30000;

std::atomic<bool> clientAlive{false};
std::atomic<bool> exiting{false};  // process exit

// Each thread's count of failed channel calls, kept as the value of a TLS slot: no
// memory per thread, nothing to free when a thread ends.
OnceInit<SlimLock> failureSlotMade;
DWORD failureSlot = TLS_OUT_OF_INDEXES;

DWORD FailureSlot()
{
    failureSlotMade.Run([] { failureSlot = TlsAlloc(); });
    return failureSlot;
}

void CountChannelFailure()
{
    const DWORD slot = FailureSlot();
    if (slot == TLS_OUT_OF_INDEXES)
        return;
    const DWORD error = GetLastError();
    TlsSetValue(slot, reinterpret_cast<void*>(reinterpret_cast<ULONG_PTR>(TlsGetValue(slot)) + 1));
    SetLastError(error);
}

// Made at library start with empty members; the helper starts on the first need.
BridgeClient client;

}  // namespace

// The calling thread's turn on the channel for its lifetime, when it could have one.
class ChannelTurn {
public:
    // `wait`: as a call waits, with window messages flowing, for as long as it takes;
    // otherwise only a free channel is taken.
    ChannelTurn(BridgeClient& client, bool wait) : client_(client)
    {
        client.turnMade_.Run([&] { *client.turnFree_.Put() = CreateEventA(nullptr, FALSE, TRUE, nullptr); });
        HANDLE free = client.turnFree_.Get();
        const DWORD self = GetCurrentThreadId();
        if (!free || client.turnOwner_.load() == self)
            return;
        if (wait ? WaitPumpingMessages(&free, 1, INFINITE) != 0 : WaitForSingleObject(free, 0) != WAIT_OBJECT_0)
            return;
        client.turnOwner_.store(self);
        held_ = true;
    }
    ~ChannelTurn()
    {
        if (!held_)
            return;
        client_.turnOwner_.store(0);
        SetEvent(client_.turnFree_.Get());
    }
    ChannelTurn(const ChannelTurn&) = delete;
    ChannelTurn& operator=(const ChannelTurn&) = delete;

    bool Held() const { return held_; }

private:
    BridgeClient& client_;
    bool held_ = false;
};

BridgeClient& TheBridgeClient()
{
    return client;
}

bool BridgeClientAlive()
{
    return clientAlive;
}

void StopBridgeClient()
{
    exiting = true;
}

std::string HelperProgramPath()
{
    HMODULE own = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&HelperProgramPath), &own);
    return FolderOf(ModuleFileName(own)) + BRISK_BRIDGE_PROGRAM;
}

unsigned long ChannelFailuresOfThisThread()
{
    const DWORD slot = FailureSlot();
    if (slot == TLS_OUT_OF_INDEXES)
        return 0;
    const DWORD error = GetLastError();
    const auto count = static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(TlsGetValue(slot)));
    SetLastError(error);
    return count;
}

BridgeClient::BridgeClient()
{
    clientAlive = true;
}

BridgeClient::~BridgeClient()
{
    clientAlive = false;
    if (exiting)
        return;
    ChannelTurn turn(*this, false);
    if (turn.Held() && helper_)
        helper_->Post(bridge::kQuit, nullptr);
    if (failureSlotMade.Done() && failureSlot != TLS_OUT_OF_INDEXES)
        TlsFree(failureSlot);
}

bool BridgeClient::EnsureHelper()
{
    if (helper_)
        return true;
    auto helper = std::make_unique<HelperProcess>();
    if (!helper->Start(HelperProgramPath()))
        return false;
    helper_ = std::move(helper);
    helperProcessId_ = helper_->ProcessId();
    ++generation_;
    return true;
}

void BridgeClient::DropHelper()
{
    helper_.reset();
    helperProcessId_ = 0;
}

BindOutcome BridgeClient::Load(BridgedPlugin& plugin)
{
    if (!EnsureHelper())
        return BindOutcome::kNotLoadable;
    bridge::MessageWriter request;
    request.Bytes(plugin.path.data(), plugin.path.size());
    if (!helper_->Post(bridge::kLoad, &request) || helper_->Wait(kLoadTimeLimit) != bridge::kLoaded) {
        DropHelper();
        return BindOutcome::kChannelFailed;
    }
    try {
        bridge::MessageReader answer = helper_->Reader();
        std::uint32_t id = answer.U32();
        std::uint32_t mask = answer.U32();
        if (!id)
            return BindOutcome::kNotLoadable;
        plugin.id = id;
        plugin.exportMask = mask;
        plugin.helperGeneration = generation_;
        return BindOutcome::kBound;
    } catch (const bridge::EBrokenMessage&) {
        DropHelper();
        return BindOutcome::kChannelFailed;
    }
}

BindOutcome BridgeClient::Bind(BridgedPlugin& plugin)
{
    if (exiting)
        return BindOutcome::kChannelFailed;
    ChannelTurn turn(*this, true);
    BindOutcome outcome = turn.Held() ? Load(plugin) : BindOutcome::kChannelFailed;
    if (outcome == BindOutcome::kChannelFailed)
        CountChannelFailure();
    return outcome;
}

void BridgeClient::Release(const BridgedPlugin& plugin)
{
    if (exiting)
        return;
    // Inside FreeLibrary: no waiting for another thread's call and no window messages.
    // A plug-in not released here stays loaded until its helper ends.
    ChannelTurn turn(*this, false);
    if (!turn.Held() || !helper_ || plugin.helperGeneration != generation_)
        return;
    bridge::MessageWriter request;
    request.U32(plugin.id);
    if (!helper_->Post(bridge::kRelease, &request) || helper_->Wait(kCallTimeLimit, false) != bridge::kReleased)
        DropHelper();
}

bool BridgeClient::Call(BridgedPlugin& plugin, std::uint32_t entry,
                        const std::function<void(bridge::MessageWriter&)>& writeArguments,
                        const ProgressAnswer& progress, bool waitForever,
                        const std::function<void(bridge::MessageReader&)>& readResults)
{
    if (exiting)
        return false;
    ChannelTurn turn(*this, true);
    if (!turn.Held()) {
        CountChannelFailure();
        return false;
    }
    // A plug-in whose helper has failed since it was bound is loaded in a new one.
    if (!helper_ || plugin.helperGeneration != generation_) {
        std::uint32_t mask = plugin.exportMask;
        if (Load(plugin) != BindOutcome::kBound || plugin.exportMask != mask) {
            CountChannelFailure();
            return false;
        }
    }
    bridge::MessageWriter request;
    request.U32(plugin.id);
    request.U32(entry);
    writeArguments(request);
    const DWORD timeLimit = waitForever ? INFINITE : kCallTimeLimit;
    if (!helper_->Post(bridge::kCall, &request)) {
        DropHelper();
        CountChannelFailure();
        return false;
    }
    for (;;) {
        bridge::Message kind = helper_->Wait(timeLimit);
        if (kind == bridge::kProgress) {
            bridge::ChannelHeader& header = helper_->Header();
            header.progressAnswer = progress ? progress(header.progressDone, header.progressTotal) : 0;
            if (helper_->Post(bridge::kProgressAnswer, nullptr))
                continue;
        }
        if (kind != bridge::kResult)
            break;
        try {
            bridge::MessageReader answer = helper_->Reader();
            readResults(answer);
            return true;
        } catch (const bridge::EBrokenMessage&) {
            break;
        }
    }
    DropHelper();
    CountChannelFailure();
    return false;
}
