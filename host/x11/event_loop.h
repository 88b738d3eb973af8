#pragma once

// Turns X events, signals and timer ticks into the core's messages until the saver window is
// destroyed; returns the exit code the core posted with its quit message.
int RunEventLoop(int signalDescriptor);
