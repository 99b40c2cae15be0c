// One simulated printer: the fields of its status record.
#pragma once

#include <cstdint>
#include <string>

struct PrinterConfig {
    static constexpr size_t kMaxNameLength = 95;

    std::string name;
    uint8_t ip[4] = {0, 0, 0, 0};
    uint8_t portType = 0;  // 0 bidirectional, anything else LPT
    uint8_t state = 0x88;
    int32_t percent = 0;
    int32_t jobs = 0;

    // Parses NAME[,ip=A.B.C.D][,type=N][,state=N][,percent=N][,jobs=N].
    static bool Parse(const std::string& text, PrinterConfig* printer, std::string* error);
};
