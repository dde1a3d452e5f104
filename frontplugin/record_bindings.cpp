#include "record_bindings.h"

#include <mutex>
#include <string>

#include "plugin_binding.h"

namespace {
const PluginEntryPoints kNoEntryPoints;
}

void RecordBindings::Take(ModuleCatalogue::ModuleList& records)
{
    records_.reserve(records.size());
    for (PluginModule& record : records)
        records_.push_back(&record);
    slots_ = std::make_unique<Slot[]>(records_.size());
}

const PluginEntryPoints& RecordBindings::EntryPoints(std::size_t index)
{
    Slot& slot = slots_[index];
    if (const PluginEntryPoints* bound = slot.bound.load(std::memory_order_acquire))
        return *bound;
    PluginModule& record = *records_[index];
    {
        std::lock_guard<SlimLock> guard(lock_);
        bindingDone_.Wait(lock_, [&] { return !slot.binding; });
        if (const PluginEntryPoints* bound = slot.bound.load(std::memory_order_relaxed))
            return *bound;
        slot.binding = true;
    }
    // The load runs the plug-in's own start-up code, or waits for the helper: no lock
    // is held meanwhile, so other records bind and bound ones are called.
    SharedRef<PluginEntryPoints> loaded;
    try {
        loaded = LoadPlugin(std::string(record.path));
    } catch (...) {
        // Out of memory: left unbound, as when the helper could not be reached.
    }
    const PluginEntryPoints* bound = nullptr;
    {
        std::lock_guard<SlimLock> guard(lock_);
        slot.binding = false;
        if (!loaded.Empty()) {
            record.binding = std::move(loaded);
            bound = record.binding.Get();
            slot.bound.store(bound, std::memory_order_release);
        }
        bindingDone_.WakeAll();
    }
    return bound ? *bound : kNoEntryPoints;
}

ModuleCatalogue RecordBindings::Snapshot(const ModuleCatalogue& moduleSet)
{
    std::lock_guard<SlimLock> guard(lock_);
    return ModuleCatalogue(moduleSet);
}
