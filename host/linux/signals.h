#pragma once

// SIGTERM, SIGINT and SIGHUP are caught from the moment the process starts, before main, and
// become a byte on a pipe, so every mode ends through its ordinary close path instead of in a
// signal handler. Should that path not be done about a second after the first signal (the X
// server or the compositor does not answer), the process exits 0 anyway.
int SignalDescriptor();  // the descriptor to poll, or -1 when signal handling could not be set up

bool TakeSignals();  // true when a signal arrived since the last call
