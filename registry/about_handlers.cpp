#include "about_handlers.h"

#include "about_resources.h"
#include "plugin_binding.h"

namespace {

// The module of the selected line; null when nothing is selected or the line has
// no module.
PluginModule* SelectedModule(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_PLUGIN_LIST);
    LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return nullptr;
    LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == LB_ERR)
        return nullptr;
    return reinterpret_cast<PluginModule*>(data);
}

}  // namespace

INT_PTR ListFiller::Handle(const InitDialogEvent& event)
{
    HWND list = GetDlgItem(event.dialog, IDC_PLUGIN_LIST);
    for (PluginModule& module : modules_.modules) {
        LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(module.name.c_str()));
        if (index != LB_ERR && index != LB_ERRSPACE)
            SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&module));
    }
    return TRUE;
}

INT_PTR DialogCloser::Handle(const CloseEvent& event)
{
    EndDialog(event.dialog, 1);
    return TRUE;
}

OkButton::OkButton(CommandMap& map) : CommandHandler(map, CommandKey{IDOK, BN_CLICKED}) {}

INT_PTR OkButton::Handle(const CommandEvent& event)
{
    EndDialog(event.dialog, 1);
    return TRUE;
}

PluginDialogButton::PluginDialogButton(CommandMap& map, WORD buttonId, int fnc)
    : CommandHandler(map, CommandKey{buttonId, BN_CLICKED}), fnc_(fnc)
{
}

INT_PTR PluginDialogButton::Handle(const CommandEvent& event)
{
    PluginModule* module = SelectedModule(event.dialog);
    if (!module)
        return TRUE;
    PluginEntryPoints* entryPoints = GetEntryPoints(*module);
    if (entryPoints && entryPoints->ConfigurationDlg)
        entryPoints->ConfigurationDlg(event.dialog, fnc_);
    return TRUE;
}

ListDoubleClick::ListDoubleClick(CommandMap& map) : CommandHandler(map, CommandKey{IDC_PLUGIN_LIST, LBN_DBLCLK}) {}

INT_PTR ListDoubleClick::Handle(const CommandEvent& event)
{
    HWND about = GetDlgItem(event.dialog, IDC_PLUGIN_ABOUT);
    // Some systems click a disabled button on BM_CLICK; a line without a settings
    // dialog must not open one.
    if (IsWindowEnabled(about))
        SendMessageA(about, BM_CLICK, 0, 0);
    return TRUE;
}

ListSelectionChange::ListSelectionChange(CommandMap& map)
    : CommandHandler(map, CommandKey{IDC_PLUGIN_LIST, LBN_SELCHANGE})
{
}

INT_PTR ListSelectionChange::Handle(const CommandEvent& event)
{
    PluginModule* module = SelectedModule(event.dialog);
    if (!module)
        return TRUE;
    EnableWindow(GetDlgItem(event.dialog, IDC_PLUGIN_ABOUT), module->hasConfig);
    EnableWindow(GetDlgItem(event.dialog, IDC_PLUGIN_CONFIG), module->hasConfig);
    return TRUE;
}
