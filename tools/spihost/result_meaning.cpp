#include "result_meaning.h"

namespace {

const char* Meaning(int code)
{
    switch (code) {
    case -1:
        return "function not implemented";
    case 0:
        return "success";
    case 1:
        return "cancelled by the progress callback";
    case 2:
        return "unknown format";
    case 3:
        return "broken data";
    case 4:
        return "out of memory";
    case 5:
        return "memory error";
    case 6:
        return "read error";
    case 7:
        return "window error";
    case 8:
        return "internal error";
    default:
        return "not a code of the plug-in interface";
    }
}

}  // namespace

std::string DescribeResult(int code)
{
    return std::to_string(code) + " (" + Meaning(code) + ")";
}
