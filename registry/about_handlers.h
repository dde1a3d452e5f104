#pragma once

// What the About dialog does: one handler object per message or command it
// answers. Each reaches the controls through the dialog window, by id, at every
// use; the list box items carry the address of their module in the dialog's copy
// of the module set.
#include "command_map.h"
#include "message_handlers.h"
#include "module_catalogue.h"

// Fills the list with the modules' names in list order.
class ListFiller : public InitDialogHandler {
public:
    ListFiller(MessageMap& map, ModuleCatalogue& modules) : InitDialogHandler(map), modules_(modules) {}
    INT_PTR Handle(const InitDialogEvent& event) override;

private:
    ModuleCatalogue& modules_;  // non-owning: the dialog's copy
};

// The close box and the system menu's Close end the dialog with 1, as OK does.
class DialogCloser : public CloseHandler {
public:
    explicit DialogCloser(MessageMap& map) : CloseHandler(map) {}
    INT_PTR Handle(const CloseEvent& event) override;
};

class OkButton : public CommandHandler {
public:
    explicit OkButton(CommandMap& map);
    INT_PTR Handle(const CommandEvent& event) override;
};

// "About..." (fnc 0) and "Config..." (fnc 1): the selected plug-in's own dialog,
// through its ConfigurationDlg, loading the plug-in on first use.
class PluginDialogButton : public CommandHandler {
public:
    PluginDialogButton(CommandMap& map, WORD buttonId, int fnc);
    INT_PTR Handle(const CommandEvent& event) override;

private:
    int fnc_;
};

// A double-click on a line clicks "About..." for it.
class ListDoubleClick : public CommandHandler {
public:
    explicit ListDoubleClick(CommandMap& map);
    INT_PTR Handle(const CommandEvent& event) override;
};

// A new selection enables both buttons when its module has a settings dialog, and
// disables them otherwise.
class ListSelectionChange : public CommandHandler {
public:
    explicit ListSelectionChange(CommandMap& map);
    INT_PTR Handle(const CommandEvent& event) override;
};
