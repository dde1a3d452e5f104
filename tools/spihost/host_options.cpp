#include "host_options.h"

#include <cctype>

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& start)
{
    if (text.size() < start.size())
        return false;
    for (std::string::size_type i = 0; i < start.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != start[i])
            return false;
    }
    return true;
}

struct CommandShape {
    const char* name;
    std::size_t fewest;
    std::size_t most;
};

const CommandShape kCommands[] = {
    {"plugin", 1, 1}, {"info", 2, 2}, {"picture", 3, 3}, {"list", 2, 2}, {"extract", 3, 4}, {"check", 0, 1},
};

}  // namespace

const char kHostUsageText[] =
    "usage: spihost [options] COMMAND PLUGIN ...\n"
    "  spihost plugin  PLUGIN                         what the plug-in says about itself\n"
    "  spihost info    PLUGIN FILE                    ask whether it reads FILE, and what it sees\n"
    "  spihost picture PLUGIN FILE OUT.bmp            decode a picture and save it as a bitmap\n"
    "  spihost list    PLUGIN ARCHIVE                 list an archive's entries\n"
    "  spihost extract PLUGIN ARCHIVE FOLDER [ENTRY]  extract every entry, or only ENTRY\n"
    "  spihost check   [CATALOGUE]                    check a catalogue against its plug-ins (by\n"
    "                                                 default the one the front plug-ins here read)\n"
    "options:\n"
    "  --from-memory   hand the file to the plug-in as a memory image, not by name\n"
    "  --handle        IsSupported gets an open file handle, not the file's first 2 KB\n"
    "  --preview       picture: ask GetPreview instead of GetPicture\n"
    "  --to-memory     extract: ask for each entry in memory and write it out here\n"
    "  --ansi          call the ANSI entry points even where the plug-in exports W ones\n"
    "                  (by default spihost calls the W ones when exported, as hosts do)\n"
    "  /configfile:NAME is left on the command line for the front plug-ins' catalogue\n"
    "exit status: 0 done, 1 the plug-in reported an error, 2 usage, 3 the plug-in cannot\n"
    "be loaded or lacks a function, 4 the plug-in does not accept the file, 5 a file\n"
    "cannot be read or written, 6 check found stale records\n"
    "spihost writes its report in UTF-8.\n";

bool ParseHostOptions(const std::vector<std::string>& arguments, HostOptions& options, std::string& problem)
{
    HostOptions parsed;
    std::vector<std::string> words;
    for (const std::string& argument : arguments) {
        if (StartsWithNoCase(argument, "/configfile:"))
            continue;
        if (argument == "--from-memory")
            parsed.fromMemory = true;
        else if (argument == "--to-memory")
            parsed.toMemory = true;
        else if (argument == "--handle")
            parsed.byHandle = true;
        else if (argument == "--preview")
            parsed.preview = true;
        else if (argument == "--ansi")
            parsed.ansiOnly = true;
        else if (argument.size() > 2 && argument.compare(0, 2, "--") == 0) {
            problem = "unknown option " + argument;
            return false;
        } else
            words.push_back(argument);
    }
    if (words.empty()) {
        problem = "no command given";
        return false;
    }
    parsed.command = words.front();
    parsed.operands.assign(words.begin() + 1, words.end());
    for (const CommandShape& shape : kCommands) {
        if (parsed.command != shape.name)
            continue;
        if (parsed.operands.size() < shape.fewest || parsed.operands.size() > shape.most) {
            problem = "wrong number of arguments for " + parsed.command;
            return false;
        }
        options = parsed;
        return true;
    }
    problem = "unknown command " + parsed.command;
    return false;
}
