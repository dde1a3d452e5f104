#include "request_probe.h"

#include <optional>
#include <string>

#include "file_header.h"
#include "front_state.h"
#include "plugin_interface.h"
#include "support_probe.h"

bool ProbeRequestedFile(RequestInput input)
{
    if ((input.flag & kSpiInputMask) != kSpiInputFile || !input.buf)
        return false;
    const std::optional<std::string>& lastProbedName = LastProbedName();
    if (lastProbedName && *lastProbedName == input.buf)
        return false;
    std::optional<FileHeader> header = ReadFileHeader(input.buf);
    if (!header)
        return false;
    // A probe answered from the last rejected name leaves the old candidates, which
    // have just failed this request: 0 means nothing new to ask.
    return ProbeSupport(input.buf, reinterpret_cast<ULONG_PTR>(header->bytes)) != 0;
}

bool ProbeRequestedFile(WideRequestInput input)
{
    if ((input.flag & kSpiInputMask) != kSpiInputFile || !input.buf)
        return false;
    const std::optional<std::wstring>& lastProbedName = LastProbedWideName();
    if (lastProbedName && *lastProbedName == input.buf)
        return false;
    std::optional<FileHeader> header = ReadFileHeader(input.buf);
    if (!header)
        return false;
    return ProbeSupportW(input.buf, reinterpret_cast<ULONG_PTR>(header->bytes)) != 0;
}
