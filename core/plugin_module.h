#pragma once

#include "catalogue_arena.h"
#include "file_filter.h"
#include "shared_ref.h"

// Defined with the binding; a module only refers to it, so the catalogue types
// build without the platform headers.
struct PluginEntryPoints;

// One catalogue entry. Copying copies the texts and filters and shares the load
// state: a copy made after binding keeps the same loaded plug-in alive, a copy made
// before binding loads its own on first need. A copy lives on the heap unless it is
// made with an arena's allocator.
struct PluginModule {
    using allocator_type = CatalogueAllocator<char>;

    CatalogueText path;
    CatalogueText version;
    CatalogueText name;
    CatalogueVector<FileFilter> filters;
    bool hasConfig = false;
    SharedRef<PluginEntryPoints> binding;

    PluginModule() = default;
    explicit PluginModule(const allocator_type& allocator)
        : path(allocator), version(allocator), name(allocator), filters(allocator)
    {
    }
    PluginModule(const PluginModule& other, const allocator_type& allocator)
        : path(other.path, allocator),
          version(other.version, allocator),
          name(other.name, allocator),
          filters(other.filters, allocator),
          hasConfig(other.hasConfig),
          binding(other.binding)
    {
    }
    PluginModule(PluginModule&& other, const allocator_type& allocator)
        : path(std::move(other.path), allocator),
          version(std::move(other.version), allocator),
          name(std::move(other.name), allocator),
          filters(std::move(other.filters), allocator),
          hasConfig(other.hasConfig),
          binding(std::move(other.binding))
    {
    }
    PluginModule(const PluginModule&) = default;
    PluginModule(PluginModule&&) = default;
    PluginModule& operator=(const PluginModule&) = default;
    PluginModule& operator=(PluginModule&&) = default;
};
