#include "serverconfig.h"

#include "numberparse.h"
#include "textsplit.h"

#include <arpa/inet.h>

bool ServerConfig::Parse(const std::string& text, ServerConfig* server, std::string* error)
{
    std::vector<std::string> parts = SplitText(text, ',');
    ServerConfig result;
    if (inet_pton(AF_INET, parts[0].c_str(), &result.inAddress) != 1) {
        *error = "server '" + text + "': '" + parts[0] + "' is not an IPv4 address";
        return false;
    }
    char dotted[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &result.inAddress, dotted, sizeof dotted);
    result.address = dotted;
    for (size_t i = 1; i < parts.size(); ++i) {
        const std::string& flag = parts[i];
        if (flag.empty()) {
            continue;  // "ADDR," with no flags after it
        } else if (flag == "silent") {
            result.silent = true;
        } else if (flag == "double") {
            result.doubleTable = true;
        } else if (flag == "longname") {
            result.longName = true;
        } else if (flag == "probe-twice") {
            result.probeTwice = true;
        } else if (flag == "no-probe") {
            result.noProbe = true;
        } else if (flag == "no-query") {
            result.noQuery = true;
        } else if (flag.compare(0, 7, "length=") == 0) {
            long long length = 0;
            if (!ParseInteger(flag.substr(7), 0, kMaxDatagram, &length)) {
                *error = "server " + result.address + ": '" + flag + "' needs a length from 0 to " +
                         std::to_string(kMaxDatagram);
                return false;
            }
            result.tableLength = static_cast<int>(length);
        } else {
            *error = "server " + result.address + ": unknown flag '" + flag +
                     "' (expected silent, double, length=N, longname, probe-twice, no-probe or no-query)";
            return false;
        }
    }
    *server = result;
    return true;
}

std::string ServerConfig::FlagText() const
{
    std::string text;
    auto add = [&text](const std::string& flag) {
        if (!text.empty())
            text += ',';
        text += flag;
    };
    if (silent)
        add("silent");
    if (doubleTable)
        add("double");
    if (tableLength >= 0)
        add("length=" + std::to_string(tableLength));
    if (longName)
        add("longname");
    if (probeTwice)
        add("probe-twice");
    if (noProbe)
        add("no-probe");
    if (noQuery)
        add("no-query");
    return text;
}
