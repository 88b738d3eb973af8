#pragma once
// The Linux settings form (`vesperglow --config`): a GTK3 window driven by SettingsDialogModel.

// Shows the form until OK, Cancel or the window's close button. Returns the process's exit code:
// 1 after OK, 0 after Cancel or close, 2 when no display can be opened (with one line on stderr).
int RunSettingsForm();
