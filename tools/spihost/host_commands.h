#pragma once

// The spihost commands and what they share. Every command prints its steps to
// standard output and ends by throwing HostFailure when it cannot finish.
#include <memory>
#include <string>

#include "host_options.h"
#include "plugin_file.h"
#include "support_probe.h"

void RunHostCommand(const HostOptions& options);

void RunPluginCommand(const HostOptions& options);
void RunInfoCommand(const HostOptions& options);
void RunPictureCommand(const HostOptions& options);
void RunListCommand(const HostOptions& options);
void RunExtractCommand(const HostOptions& options);
void RunCheckCommand(const HostOptions& options);

// The input of a picture or archive call: the file by name, or its memory image.
class RequestInput {
public:
    RequestInput(const std::string& path, bool fromMemory);
    bool FromMemory() const { return fromMemory_; }
    const std::string& Path() const { return path_; }
    const char* Image() const { return image_.data(); }
    LONG_PTR Length() const { return fromMemory_ ? static_cast<LONG_PTR>(image_.size()) : 0; }
    unsigned int Flag() const { return fromMemory_ ? kSpiInputMemory : kSpiInputFile; }
    const char* KindText() const { return fromMemory_ ? "memory image" : "file by name"; }

private:
    std::string path_;
    bool fromMemory_;
    std::string image_;
};

// Prints the plug-in's identity.
void PrintPlugin(const PluginFile& plugin);
// Prints the file's name and size; throws HostFailure (file error) when it is missing.
void PrintInputFile(const std::string& path);

// Asks IsSupported and explains the answer; throws HostFailure (not accepted) on a
// refusal. Returns the "served by" text for the request that follows.
std::string AskSupport(const PluginFile& plugin, const std::string& path, const HostOptions& options);

// Throws HostFailure (plug-in error) unless `code` is 0.
void RequireSuccess(const PluginFile& plugin, const char* call, int code, const std::string& path);

// Counts the plug-in's progress reports; never asks it to stop.
int WINAPI CountProgress(int done, int total, LONG_PTR counter);

// The archive's entries as the plug-in lists them; prints the table.
void PrintArchiveList(const PluginFile& plugin, const RequestInput& input, const std::string& path);
// The picture's information; prints it.
void PrintPictureInfo(const PluginFile& plugin, const RequestInput& input, const std::string& path);

// The plug-in spihost is to ask, loaded as the options say.
std::unique_ptr<PluginFile> OpenPlugin(const HostOptions& options);
