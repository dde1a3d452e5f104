#include "about_dialog.h"

#include "about_resources.h"
#include "registry_module.h"

AboutDialog::AboutDialog(const ModuleCatalogue& moduleSet)
    : modules_(moduleSet),
      aboutButton_(commands_, IDC_PLUGIN_ABOUT, 0),
      configButton_(commands_, IDC_PLUGIN_CONFIG, 1)
{
}

AboutDialog::~AboutDialog()
{
    // The plug-ins only the dialog loaded are freed before the routing goes.
    modules_.candidates.clear();
    modules_.modules.clear();
}

INT_PTR AboutDialog::Dispatch(const MessageRecord& record)
{
    return messages_.Dispatch(record);
}

int ShowAboutDialog(HWND parent, const ModuleCatalogue& moduleSet)
{
    AboutDialog dialog(moduleSet);
    HMODULE resources = RegistryModule() ? RegistryModule() : GetModuleHandleA(nullptr);
    return static_cast<int>(dialog.RunModal(resources, IDD_ABOUT, parent));
}
