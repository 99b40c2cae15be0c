// The status web page a server shows on --http.
#pragma once

#include "printerconfig.h"

#include <cstdint>
#include <string>
#include <vector>

namespace httppage {

// The first that holds: bit 0x80 clear "OFF-LINE", 0x04 "BUSY", 0x08 "ON-LINE",
// 0x20 "PAPER OUT", else "ERROR".
const char* StatusWord(uint8_t state);

std::string HtmlEscape(const std::string& text);

// The HTML page listing a server's printers.
std::string StatusPage(const std::string& serverAddress, const std::vector<PrinterConfig>& printers);

// A complete HTTP/1.0 response: the page for a GET, 405 for anything else.
std::string Response(const std::string& requestHead, const std::string& page);

}  // namespace httppage
