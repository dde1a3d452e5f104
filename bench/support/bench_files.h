#pragma once

// Files and folders the benchmarks lay out, through the platform's ANSI calls.
#include <string>
#include <vector>

// A fresh, empty folder, removed with everything in it on destruction.
class ScratchFolder {
public:
    // A new folder under `root` (created when missing), named after `label`.
    ScratchFolder(const std::string& root, const std::string& label);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// The folder that holds the running program, where the build put everything.
std::string ProgramFolder();

// The default home of scratch folders: the system's temporary folder.
std::string DefaultScratchRoot();

void MakeFolder(const std::string& path);
void RemoveTree(const std::string& path);
// Each throws std::runtime_error on failure.
void CopyOneFile(const std::string& from, const std::string& to);
void WriteWholeFile(const std::string& path, const std::string& bytes);
std::string ReadWholeFile(const std::string& path);
// At most the first `limit` bytes of the file.
std::string ReadFileStart(const std::string& path, std::size_t limit);

// The size of a file in bytes; 0 when it cannot be read.
unsigned long long FileSize(const std::string& path);

// The names (not paths) of the files in `folder` matching `pattern`, sorted.
std::vector<std::string> FileNamesIn(const std::string& folder, const std::string& pattern);
