#pragma once

// A frame clock that moves only when told, so a seed gives the same show on every run and machine.
void UseSteppedFrameClock();
void AdvanceSteppedClock(double seconds);
