// PrinterRecord: the status of one printer, one 124-byte slot of a status
// table as it arrives from a print server. The 32-bit fields are
// little-endian, as on the machines the monitor runs on.
#pragma once

#include <cstddef>
#include <cstdint>

struct PrinterRecord {
    char szName[96];      // NUL-terminated; a first byte 0 marks an empty slot
    uint8_t byUserIP[4];  // first octet first
    uint8_t byType;       // 0: bidirectional port, else LPT
    uint8_t byState;      // status flags
    uint8_t byReserved1[10];
    int32_t nPercent;
    int32_t nJobs;
    uint8_t byReserved2[4];
};

static_assert(sizeof(PrinterRecord) == 124, "a status table slot is 124 bytes");
static_assert(offsetof(PrinterRecord, byUserIP) == 96, "");
static_assert(offsetof(PrinterRecord, byType) == 100, "");
static_assert(offsetof(PrinterRecord, byState) == 101, "");
static_assert(offsetof(PrinterRecord, byReserved1) == 102, "");
static_assert(offsetof(PrinterRecord, nPercent) == 112, "");
static_assert(offsetof(PrinterRecord, nJobs) == 116, "");
static_assert(offsetof(PrinterRecord, byReserved2) == 120, "");
