#pragma once

// The About dialog: product name, the calling front plug-in's catalogued plug-ins,
// and buttons that open the selected plug-in's own About box and settings.
#include "about_handlers.h"
#include "command_map.h"
#include "dialog_window.h"
#include "message_map.h"
#include "module_catalogue.h"

class AboutDialog : public DialogWindow {
public:
    // Works on its own copy of `moduleSet`: plug-ins it loads are freed when it is
    // destroyed, those the caller had loaded are shared and stay loaded.
    explicit AboutDialog(const ModuleCatalogue& moduleSet);
    ~AboutDialog() override;

private:
    INT_PTR Dispatch(const MessageRecord& record) override;

    ModuleCatalogue modules_;
    MessageMap messages_;
    CommandMap commands_{messages_};
    ListFiller listFiller_{messages_, modules_};
    DialogCloser closer_{messages_};
    OkButton okButton_{commands_};
    PluginDialogButton aboutButton_;
    PluginDialogButton configButton_;
    ListDoubleClick doubleClick_{commands_};
    ListSelectionChange selectionChange_{commands_};
};

// Shows the dialog modally over `parent` and returns when it is closed: 1 when the
// user closed it, DialogBoxParamA's failure value when it could not be created.
int ShowAboutDialog(HWND parent, const ModuleCatalogue& moduleSet);
