#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "test_files.h"

namespace {

// A folder with a copy of command_log.exe, which records each command line it is
// started with, so a test sees exactly what the runner had the interpreter run.
class CommandFolder {
public:
    CommandFolder() { CopyFixture("command_log.exe", Logger()); }

    std::string Logger() const { return folder_ / "command_log.exe"; }
    std::vector<std::string> Ran() const { return ReadLines(Logger() + ".log"); }

    // Runs foreachline with `arguments` (command-line text) and `input`.
    ProcessResult Run(const std::string& arguments, const std::string& input) const
    {
        return RunProcess("\"" + BinFolder() + "foreachline.exe\" " + arguments, input, folder_.Path());
    }

private:
    TempFolder folder_;
};

TEST(Foreachline, RunsPrefixAndLineForEachNonEmptyLine)
{
    struct Case {
        const char* name;
        std::string arguments;  // "@" stands for the logger's path
        std::string input;
        std::vector<std::string> ran;  // "@" likewise
    };
    const Case cases[] = {
        {"no argument: the line is the whole command", "", "@ one two\n", {"@ one two"}},
        {"each argument followed by one blank", "@ first second", "line\n", {"@ first second line"}},
        {"an empty argument adds only its blank", "@ \"\" x", "line\n", {"@  x line"}},
        {"quotes around an argument are not put back", "@ \"a b\"", "line\n", {"@ a b line"}},
        {"blanks and quotes in a line pass unchanged", "@", "a  \"b c\"  'd'\n", {"@ a  \"b c\"  'd'"}},
        {"empty lines are skipped wherever they stand", "@", "\n\nx\n\n\ny\n\n", {"@ x", "@ y"}},
        {"CR LF line ends", "@", "x\r\n\r\ny\r\n", {"@ x", "@ y"}},
        {"a lone CR stays in the line", "@", "x\ry\n", {"@ x\ry"}},
        {"a last line without line feed is run", "@", "x\ny", {"@ x", "@ y"}},
        {"empty input runs nothing", "@", "", {}},
        {"Ctrl-Z ends the input", "@", "x\n\x1ay\n", {"@ x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CommandFolder folder;
        auto expand = [&](std::string text) {
            for (std::string::size_type at; (at = text.find('@')) != std::string::npos;)
                text.replace(at, 1, folder.Logger());
            return text;
        };
        ProcessResult result = folder.Run(expand(c.arguments), expand(c.input));
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.standardOutput, "");
        std::vector<std::string> expected;
        for (const std::string& line : c.ran)
            expected.push_back(expand(line));
        EXPECT_EQ(folder.Ran(), expected);
    }
}

TEST(Foreachline, LineLongerThan4095CharactersRunsWhole)
{
    CommandFolder folder;
    std::string longLine(5000, 'x');
    ProcessResult result = folder.Run(folder.Logger(), longLine + "\nafter\n");
    EXPECT_EQ(result.exitCode, 0);
    std::vector<std::string> expected = {folder.Logger() + " " + longLine, folder.Logger() + " after"};
    EXPECT_EQ(folder.Ran(), expected);
}

TEST(Foreachline, CommandTheInterpreterRefusesIsNeverRunCut)
{
    // Longer than the interpreter's 8191-character command limit.
    CommandFolder folder;
    std::string longLine(9000, 'y');
    ProcessResult result = folder.Run(folder.Logger(), longLine + "\nafter\n");
    EXPECT_EQ(result.exitCode, 0);
    std::vector<std::string> ran = folder.Ran();
    ASSERT_FALSE(ran.empty());
    EXPECT_EQ(ran.back(), folder.Logger() + " after");
    for (std::size_t i = 0; i + 1 < ran.size(); ++i)
        EXPECT_EQ(ran[i], folder.Logger() + " " + longLine) << "line " << i << " ran cut";
}

TEST(Foreachline, CommandsRunOneAtATimeThroughTheInterpreter)
{
    // "&&" and ">>" mean something only to the interpreter; each command appends to
    // the file only after the one before it has finished. echo keeps the blank
    // before "&&".
    CommandFolder folder;
    std::string out = folder.Logger() + ".out";
    std::string input;
    for (int i = 0; i < 5; ++i)
        input += "echo start" + std::to_string(i) + ">>" + out + " && echo done" + std::to_string(i) + ">>" + out + "\n";
    ProcessResult result = folder.Run("", input);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(ReadLines(out),
              (std::vector<std::string>{"start0 ", "done0", "start1 ", "done1", "start2 ", "done2", "start3 ", "done3",
                                        "start4 ", "done4"}));
}

TEST(Foreachline, CommandsInheritStandardOutputAndTheirFailuresAreIgnored)
{
    CommandFolder folder;
    ProcessResult result = folder.Run("cmd /c", "echo one\nexit 3\nno_such_program_here\necho two\n");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.standardOutput, "one\r\ntwo\r\n");
}

}  // namespace
