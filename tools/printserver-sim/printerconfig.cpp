#include "printerconfig.h"

#include "numberparse.h"
#include "textsplit.h"

#include <arpa/inet.h>

#include <cstring>
#include <vector>

bool PrinterConfig::Parse(const std::string& text, PrinterConfig* printer, std::string* error)
{
    std::vector<std::string> parts = SplitText(text, ',');
    PrinterConfig result;
    result.name = parts[0];
    if (result.name.empty()) {
        *error = "printer '" + text + "': the name is empty";
        return false;
    }
    if (result.name.size() > kMaxNameLength) {
        *error = "printer name '" + result.name + "' is " + std::to_string(result.name.size()) +
                 " bytes, longer than 95";
        return false;
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        const std::string& item = parts[i];
        if (item.empty())
            continue;
        size_t equals = item.find('=');
        if (equals == std::string::npos) {
            *error = "printer '" + result.name + "': '" + item + "' is not KEY=VALUE";
            return false;
        }
        std::string key = item.substr(0, equals);
        std::string value = item.substr(equals + 1);
        long long number = 0;
        bool ok = true;
        const char* expected = "";
        if (key == "ip") {
            in_addr address;
            ok = inet_pton(AF_INET, value.c_str(), &address) == 1;
            if (ok)
                std::memcpy(result.ip, &address.s_addr, 4);
            expected = "an IPv4 address A.B.C.D";
        } else if (key == "type" || key == "state") {
            ok = ParseInteger(value, 0, 255, &number);
            if (ok)
                (key == "type" ? result.portType : result.state) = static_cast<uint8_t>(number);
            expected = "a number from 0 to 255";
        } else if (key == "percent" || key == "jobs") {
            ok = ParseInteger(value, INT32_MIN, INT32_MAX, &number);
            if (ok)
                (key == "percent" ? result.percent : result.jobs) = static_cast<int32_t>(number);
            expected = "a 32-bit signed number";
        } else {
            *error = "printer '" + result.name + "': unknown key '" + key +
                     "' (expected ip, type, state, percent or jobs)";
            return false;
        }
        if (!ok) {
            *error = "printer '" + result.name + "': " + key + "='" + value + "' is not " + expected;
            return false;
        }
    }
    *printer = result;
    return true;
}
