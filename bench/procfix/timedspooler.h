// A spooler table that forwards every call to the table in use before it and
// adds up the time spent inside those calls, in performance-counter ticks.
#pragma once

#include "afx/winheaders.h"

// Puts the timed table in front of the table in use and sets the sum to 0.
void InstallTimedSpooler();
// Puts the table back that was in use before InstallTimedSpooler.
void RemoveTimedSpooler();
// The ticks spent inside the forwarded calls since InstallTimedSpooler.
LONGLONG TimedSpoolerTicks();
