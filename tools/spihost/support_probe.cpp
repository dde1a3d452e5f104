#include "support_probe.h"

SupportProbe::SupportProbe(const std::string& path, bool byHandle) : file_(std::make_unique<InputHandle>(path))
{
    if (byHandle)
        return;
    DWORD got = 0;
    ReadFile(file_->Get(), head_, sizeof head_, &got, nullptr);
    file_.reset();
}

ULONG_PTR SupportProbe::Argument() const
{
    if (!file_)
        return reinterpret_cast<ULONG_PTR>(head_);
    file_->Rewind();
    return reinterpret_cast<ULONG_PTR>(file_->Get());
}
