#pragma once

// SIGTERM, SIGINT and SIGHUP become a byte on a pipe, so the event loop ends the show through
// the ordinary close and destroy path instead of in a signal handler.
int InstallSignalPipe();  // the descriptor to poll, or -1

bool TakeSignals();  // true when a signal arrived since the last call
