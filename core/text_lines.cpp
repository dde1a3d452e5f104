#include "text_lines.h"

namespace {
constexpr char kEndOfText = '\x1a';
}

bool TextLines::Next(std::string& line)
{
    line.clear();
    if (ended_)
        return false;
    std::getline(input_, line, '\n');
    bool complete = (input_.rdstate() & (std::ios::eofbit | std::ios::failbit)) == 0;
    std::string::size_type endOfText = line.find(kEndOfText);
    if (endOfText != std::string::npos) {
        line.resize(endOfText);
        ended_ = true;
        complete = false;
    }
    if (complete && !line.empty() && line.back() == '\r')
        line.pop_back();
    return complete;
}
