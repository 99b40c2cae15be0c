// One simulated print server: its address, behaviour flags and printers.
#pragma once

#include "printerconfig.h"

#include <netinet/in.h>

#include <string>
#include <vector>

struct ServerConfig {
    static constexpr size_t kMaxPrinters = 8;
    static constexpr int kMaxDatagram = 65507;

    std::string address;  // dotted form, as bound
    in_addr inAddress = {};
    bool silent = false;
    bool doubleTable = false;
    int tableLength = -1;  // -1: the normal 992 bytes
    bool longName = false;
    bool probeTwice = false;
    bool noProbe = false;
    bool noQuery = false;
    std::vector<PrinterConfig> printers;

    // Parses ADDR[,FLAG...].
    static bool Parse(const std::string& text, ServerConfig* server, std::string* error);

    // The flags in command-line form, e.g. "double,length=993"; empty if none.
    std::string FlagText() const;
};
