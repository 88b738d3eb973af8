#pragma once
// The Linux settings form (`vesperglow --config`): a GTK3 window driven by SettingsDialogModel.

// Shows the form until OK, Cancel, the window's close button or a byte on signalDescriptor (a
// signal, which closes it as Cancel does). Returns the process's exit code: 1 after OK, 0 after
// Cancel, close or a signal, 2 when no display can be opened (with one line on stderr).
int RunSettingsForm(int signalDescriptor);
