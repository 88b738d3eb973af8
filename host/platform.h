#pragma once
// What the portable core asks of its host. Each executable links exactly one implementation.
#include <cstdint>

// Icons for ReportError, with the Win32 MessageBox values.
const unsigned REPORT_PLAIN = 0x00;
const unsigned REPORT_EXCLAMATION = 0x30;
const unsigned REPORT_INFORMATION = 0x40;

// A message box with no owner on Windows; one line on stderr elsewhere.
void ReportError(const char* caption, const char* text, unsigned icon);

// Restores the desktop display mode, releases grabs and ends the process.
[[noreturn]] void FatalExit(int code);

// The frame clock's two time sources: a high-resolution counter and a 32-bit millisecond count.
bool HostQueryCounterFrequency(int64_t* countsPerSecond);
int64_t HostQueryCounter();
uint32_t HostQueryMilliseconds();
