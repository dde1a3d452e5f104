#include "plugin_query.h"

#include "information_buffer.h"
#include "plugin_binding.h"
#include "plugin_record.h"
#include "progress_log.h"

namespace {

constexpr int kInitialBufferSize = 4096;
// Answers that fill the buffer are asked again with a doubled buffer up to this size.
constexpr int kRetryBufferLimit = 32768;
// After an answer had to be cut, the following numbers get this much room.
constexpr int kFinalBufferSize = 65536;

// The answer to one information number; empty when the plug-in answers 0. A full
// buffer is doubled and the same number asked again; an answer that still fills
// the largest retry buffer is taken as received.
std::optional<std::string> AskNumber(GetPluginInfoFunction* getPluginInfo, int number, InformationBuffer& buffer)
{
    for (;;) {
        buffer.Prefill();
        if (getPluginInfo(number, buffer.Data(), buffer.Size()) == 0)
            return std::nullopt;
        if (!buffer.Full())
            return buffer.Text();
        if (buffer.Size() < kRetryBufferLimit) {
            buffer.Resize(buffer.Size() * 2);
            continue;
        }
        std::string text = buffer.Text();
        if (buffer.Size() < kFinalBufferSize)
            buffer.Resize(kFinalBufferSize);
        return text;
    }
}

void ReadInformation(GetPluginInfoFunction* getPluginInfo, PluginModule& record)
{
    InformationBuffer buffer(kInitialBufferSize);
    std::size_t total = 0;
    for (int number = 0;; ++number) {
        if (number == kInformationNumberLimit) {
            ReportInformationLimit(std::string(record.path), kInformationNumberLimit);
            return;
        }
        std::optional<std::string> text = AskNumber(getPluginInfo, number, buffer);
        if (!text)
            return;
        total += text->size();
        if (total > kInformationTextLimit) {
            ReportInformationTextLimit(std::string(record.path), kInformationTextLimit);
            return;
        }
        StoreInformation(record, number, std::move(*text));
    }
}

}  // namespace

std::optional<PluginModule> QueryPlugin(const std::string& path)
{
    // Through the binding, so that the builder reads plug-ins of the other width
    // through the bridge's helper.
    SharedRef<PluginEntryPoints> plugin = LoadPlugin(path);
    PluginEntryPoints entryPoints = *plugin;
    plugin.Release();
    return QueryEntryPoints(path, std::move(entryPoints));
}

std::optional<PluginModule> QueryLoadedPlugin(const std::string& path, SharedRef<HMODULE> library)
{
    PluginEntryPoints entryPoints = ResolveEntryPoints(library);
    library.Release();
    return QueryEntryPoints(path, std::move(entryPoints));
}

std::optional<PluginModule> QueryEntryPoints(const std::string& path, PluginEntryPoints entryPoints)
{
    if (!entryPoints.GetPluginInfo)
        return std::nullopt;
    PluginModule record;
    record.path = path;
    ReadInformation(entryPoints.GetPluginInfo, record);
    record.hasConfig = entryPoints.ConfigurationDlg != nullptr;
    // Dropping the last holder frees the library before its record is written.
    entryPoints.library.Release();
    return record;
}
