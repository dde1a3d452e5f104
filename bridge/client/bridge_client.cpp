#include "bridge_client.h"

#include "module_path.h"
#include "set_names.h"

namespace {

// How long the helper may keep silent in a call before it counts as hung. Progress
// requests restart it; the plug-in's own dialogs have no limit.
constexpr DWORD kCallTimeLimit = 30000;
constexpr DWORD kLoadTimeLimit = 30000;

bool clientAlive = false;
bool exiting = false;  // process exit

// Clears the busy flag however the call ends.
class BusyCall {
public:
    explicit BusyCall(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyCall() { busy_ = false; }
    BusyCall(const BusyCall&) = delete;
    BusyCall& operator=(const BusyCall&) = delete;

private:
    bool& busy_;
};

}  // namespace

BridgeClient& TheBridgeClient()
{
    static BridgeClient client;
    clientAlive = true;
    return client;
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

BridgeClient::~BridgeClient()
{
    clientAlive = false;
    if (helper_ && !exiting && !busy_)
        helper_->Post(bridge::kQuit, nullptr);
}

bool BridgeClient::EnsureHelper()
{
    if (helper_)
        return true;
    auto helper = std::make_unique<HelperProcess>();
    if (!helper->Start(HelperProgramPath()))
        return false;
    helper_ = std::move(helper);
    ++generation_;
    return true;
}

void BridgeClient::DropHelper()
{
    helper_.reset();
}

bool BridgeClient::Load(BridgedPlugin& plugin)
{
    if (!EnsureHelper())
        return false;
    bridge::MessageWriter request;
    request.Bytes(plugin.path.data(), plugin.path.size());
    if (!helper_->Post(bridge::kLoad, &request) || helper_->Wait(kLoadTimeLimit) != bridge::kLoaded) {
        DropHelper();
        return false;
    }
    try {
        bridge::MessageReader answer = helper_->Reader();
        std::uint32_t id = answer.U32();
        std::uint32_t mask = answer.U32();
        if (!id)
            return false;
        plugin.id = id;
        plugin.exportMask = mask;
        plugin.helperGeneration = generation_;
        return true;
    } catch (const bridge::EBrokenMessage&) {
        DropHelper();
        return false;
    }
}

bool BridgeClient::Bind(BridgedPlugin& plugin)
{
    if (busy_ || exiting)
        return false;
    BusyCall call(busy_);
    return Load(plugin);
}

void BridgeClient::Release(const BridgedPlugin& plugin)
{
    if (!clientAlive || exiting || busy_ || !helper_ || plugin.helperGeneration != generation_)
        return;
    BusyCall call(busy_);
    bridge::MessageWriter request;
    request.U32(plugin.id);
    if (!helper_->Post(bridge::kRelease, &request) || helper_->Wait(kCallTimeLimit) != bridge::kReleased)
        DropHelper();
}

bool BridgeClient::Call(BridgedPlugin& plugin, std::uint32_t entry,
                        const std::function<void(bridge::MessageWriter&)>& writeArguments,
                        const ProgressAnswer& progress, bool waitForever,
                        const std::function<void(bridge::MessageReader&)>& readResults)
{
    if (busy_ || exiting)
        return false;
    BusyCall call(busy_);
    // A plug-in whose helper has failed since it was bound is loaded in a new one.
    if (!helper_ || plugin.helperGeneration != generation_) {
        std::uint32_t mask = plugin.exportMask;
        if (!Load(plugin) || plugin.exportMask != mask)
            return false;
    }
    bridge::MessageWriter request;
    request.U32(plugin.id);
    request.U32(entry);
    writeArguments(request);
    const DWORD timeLimit = waitForever ? INFINITE : kCallTimeLimit;
    if (!helper_->Post(bridge::kCall, &request)) {
        DropHelper();
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
    return false;
}
