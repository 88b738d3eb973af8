#pragma once
// The Linux settings form (`vesperglow --config`): a GTK3 window driven by SettingsDialogModel.

// Shows the form until OK, Cancel, the window's close button or a byte on signalDescriptor (a
// signal, which closes it as Cancel does). Returns the process's exit code: 1 after OK, 0 after
// Cancel, close or a signal, 2 when no display can be opened or the form's module cannot be loaded
// (with one line on stderr).
int RunSettingsForm(int signalDescriptor);

// The form itself lives in a module of its own, opened by RunSettingsForm: GTK is loaded only then.
extern "C" int VesperglowSettingsForm(int signalDescriptor);
typedef int (*SettingsFormEntry)(int signalDescriptor);
const char* const SETTINGS_FORM_ENTRY = "VesperglowSettingsForm";
