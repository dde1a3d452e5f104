#include "request_probe.h"

#include <optional>
#include <string>

#include "file_header.h"
#include "plugin_interface.h"
#include "support_probe.h"

bool ProbeRequestedFile(RequestInput input, const ProbeResult* asked)
{
    if ((input.flag & kSpiInputMask) != kSpiInputFile || !input.buf)
        return false;
    if (asked && asked->name && *asked->name == input.buf)
        return false;
    std::optional<FileHeader> header = ReadFileHeader(input.buf);
    if (!header)
        return false;
    // A probe answered from the last rejected name leaves the old candidates, which
    // have just failed this request: 0 means nothing new to ask.
    return ProbeSupport(input.buf, reinterpret_cast<ULONG_PTR>(header->bytes)) != 0;
}

bool ProbeRequestedFile(WideRequestInput input, const ProbeResult* asked)
{
    if ((input.flag & kSpiInputMask) != kSpiInputFile || !input.buf)
        return false;
    if (asked && asked->wideName && *asked->wideName == input.buf)
        return false;
    std::optional<FileHeader> header = ReadFileHeader(input.buf);
    if (!header)
        return false;
    return ProbeSupportW(input.buf, reinterpret_cast<ULONG_PTR>(header->bytes)) != 0;
}
