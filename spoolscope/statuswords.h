// The words shown for a printer's status flags and port type, in the report
// list and in the information box alike. Platform-free.
#pragma once

#include <cstdint>

// The first test that holds: 0x80 clear "OFF-LINE", 0x04 "BUSY", 0x08
// "ON-LINE", 0x20 "PAPER OUT", otherwise "ERROR".
const char* StatusWord(uint8_t byState);
// "Bi-direction" for port type 0, "LPT" for any other.
const char* PortTypeWord(uint8_t byType);
