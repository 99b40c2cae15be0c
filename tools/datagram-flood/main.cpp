// datagram-flood: sends the monitor a burst of UDP datagrams of random
// lengths and contents, mixed with well-formed presence replies and status
// tables, from many loopback source addresses, as fast as the socket takes
// them. Native Linux; the monitor's reliability tests and scripts use it.
#include "floodsender.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kHelp[] = "Usage: datagram-flood [OPTION...]\n"
                     "Sends datagrams to the monitor until both --count and --seconds are reached.\n"
                     "  --to HOST:PORT    destination (default 127.0.0.1:60000)\n"
                     "  --count N         at least N datagrams (default 200000)\n"
                     "  --seconds S       for at least S seconds (default 0)\n"
                     "  --seed N          random seed (default 1)\n"
                     "  --replies P       P per mille are presence replies (one byte 0x55; default 10)\n"
                     "  --tables P        P per mille are status tables of named printers (default 10)\n"
                     "  --sources N       presence replies come from N addresses 127.1.x.y (default 5000)\n"
                     "  --max-length N    random datagrams are 0 to N bytes long (default 1500)\n"
                     "  --full            every slot of a status table holds a named printer\n"
                     "Prints what it sent on standard output when done.\n";

bool ParseNumber(const char* pszText, unsigned long nMax, unsigned long* pValue)
{
    char* pEnd = nullptr;
    unsigned long nValue = strtoul(pszText, &pEnd, 10);
    if (pEnd == pszText || *pEnd != '\0' || nValue > nMax)
        return false;
    *pValue = nValue;
    return true;
}

int Usage(const std::string& error)
{
    fprintf(stderr, "datagram-flood: %s\nTry 'datagram-flood --help'.\n", error.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    FloodOptions options;
    std::string to = "127.0.0.1:60000";
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--help") {
            fputs(kHelp, stdout);
            return 0;
        }
        if (word == "--full") {
            options.bFullTables = true;
            continue;
        }
        if (i + 1 >= argc)
            return Usage("unknown option or missing value: " + word);
        const char* pszValue = argv[++i];
        unsigned long nValue = 0;
        bool bOk = true;
        if (word == "--to")
            to = pszValue;
        else if (word == "--count" && (bOk = ParseNumber(pszValue, 1000000000ul, &nValue)))
            options.nCount = nValue;
        else if (word == "--seconds" && (bOk = ParseNumber(pszValue, 86400, &nValue)))
            options.nSeconds = static_cast<unsigned>(nValue);
        else if (word == "--seed" && (bOk = ParseNumber(pszValue, 0xffffffffu, &nValue)))
            options.nSeed = static_cast<unsigned>(nValue);
        else if (word == "--replies" && (bOk = ParseNumber(pszValue, 1000, &nValue)))
            options.nRepliesPerMille = static_cast<unsigned>(nValue);
        else if (word == "--tables" && (bOk = ParseNumber(pszValue, 1000, &nValue)))
            options.nTablesPerMille = static_cast<unsigned>(nValue);
        else if (word == "--sources" && (bOk = ParseNumber(pszValue, 65000, &nValue)) && nValue > 0)
            options.nSources = static_cast<unsigned>(nValue);
        else if (word == "--max-length" && (bOk = ParseNumber(pszValue, 65507, &nValue)))
            options.nMaxLength = static_cast<unsigned>(nValue);
        else
            return Usage(bOk ? "unknown option: " + word : "bad value for " + word + ": " + pszValue);
        if (!bOk)
            return Usage("bad value for " + word + ": " + pszValue);
    }
    if (options.nRepliesPerMille + options.nTablesPerMille > 1000)
        return Usage("--replies and --tables add up to more than 1000");

    FloodSender sender(options);
    std::string error;
    if (!sender.Open(to, &error)) {
        fprintf(stderr, "datagram-flood: %s\n", error.c_str());
        return 1;
    }
    FloodCounts counts;
    if (!sender.Run(&counts, &error)) {
        fprintf(stderr, "datagram-flood: %s\n", error.c_str());
        return 1;
    }
    printf("sent %llu datagrams (%llu presence replies, %llu status tables, %llu refused by the socket) in "
           "%.2f s\n",
           counts.nSent, counts.nReplies, counts.nTables, counts.nRefused, counts.seconds);
    return 0;
}
