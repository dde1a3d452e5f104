#pragma once

#include <string>
#include <vector>

// The folder of the running test program, with a trailing backslash: the build puts
// every fixture (fake plug-ins, deliverables, helper programs) there.
std::string BinFolder();

// A fresh, empty folder under the temporary folder, removed with its contents when
// the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
// The file's bytes; empty when it does not exist.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// Copies a fixture from BinFolder() to `target`.
void CopyFixture(const std::string& fixtureName, const std::string& target);
// A folder of the Linux side (a build folder named at configure time) as Wine's Z:
// drive shows it, with a trailing backslash.
std::string WineFolder(const std::string& unixFolder);
// Lines of a text file, without their line ends.
std::vector<std::string> ReadLines(const std::string& path);
