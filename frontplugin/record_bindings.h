#pragma once

// The load state of the module set's records as threads see it: a record is bound
// once, by the first thread that needs it, while others that need the same record
// wait for that load; a bound record's entry points are then read without a lock.
#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

#include "module_catalogue.h"
#include "slim_lock.h"

struct PluginEntryPoints;

class RecordBindings {
public:
    RecordBindings() = default;
    RecordBindings(const RecordBindings&) = delete;
    RecordBindings& operator=(const RecordBindings&) = delete;

    // The records, in module-set order; once, before any other call.
    void Take(ModuleCatalogue::ModuleList& records);

    std::size_t Count() const { return records_.size(); }
    PluginModule& Record(std::size_t index) const { return *records_[index]; }

    // The record's entry points, loading its plug-in on the first need. A failed load
    // is remembered and not retried; a bridged plug-in whose helper could not be
    // reached just now stays unbound and gets all-null entry points for this call.
    const PluginEntryPoints& EntryPoints(std::size_t index);

    // A copy of the module set with the bindings made so far, for the About dialog.
    ModuleCatalogue Snapshot(const ModuleCatalogue& moduleSet);

private:
    struct Slot {
        std::atomic<const PluginEntryPoints*> bound{nullptr};
        bool binding = false;  // a thread loads the record now; under lock_
    };
    std::vector<PluginModule*> records_;  // not owned: the module set's
    std::unique_ptr<Slot[]> slots_;
    SlimLock lock_;
    SlimCondition bindingDone_;
};
