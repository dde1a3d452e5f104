#include "host_window.h"

namespace {

const char kClassName[] = "BriskTestHost";
const UINT kRunWork = WM_APP + 1;

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterHostClass()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
}

}  // namespace

HostWindow::HostWindow()
{
    RegisterHostClass();
    window_ = CreateWindowExA(0, kClassName, "Host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
}

HostWindow::~HostWindow()
{
    DestroyWindow(window_);
}

void HostWindow::RunInWindowThread(const std::function<void()>& work) const
{
    SendMessageA(window_, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}
