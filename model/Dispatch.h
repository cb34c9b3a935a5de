#pragma once
// The one widget notification: it names no widget, so every flag is polled
// in a fixed order and the matching operation runs.

class IDialogHost {
public:
    virtual ~IDialogHost() = default;
    // Ends the dialog the way OK does.
    virtual void EndOk() = 0;
    // Reads the settings file again.
    virtual void ReloadSettings() = 0;
};

void DispatchWidgetNotify(IDialogHost& host);
