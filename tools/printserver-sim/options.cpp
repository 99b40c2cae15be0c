#include "options.h"

#include "numberparse.h"
#include "textsplit.h"

#include <arpa/inet.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace {

const char kUsage[] =
    "Usage: printserver-sim [OPTION...]\n"
    "\n"
    "Simulates network print servers on UDP: an 8-byte probe whose first byte is 0xAA\n"
    "gets the 1-byte presence reply 0x55; a 1-byte query 0x55 gets the 992-byte status\n"
    "table (8 printer records of 124 bytes, empty slots zero). Each server has its own\n"
    "socket bound to its address and the port, and replies to the sender's address and\n"
    "port. Every other datagram is logged and ignored.\n"
    "\n"
    "Servers and printers:\n"
    "  --server ADDR[,FLAG...]  a server bound to the IPv4 address ADDR; the --printer\n"
    "                           options after it belong to it. Flags:\n"
    "      silent               answer nothing and never announce\n"
    "      double               send the status table twice per query\n"
    "      length=N             send the table as N bytes, truncated or zero-padded\n"
    "      longname             slot 0 holds no NUL byte: its name is 96 'N's and every\n"
    "                           zero byte of the rest of the record is 0xFF\n"
    "      probe-twice          answer each probe twice\n"
    "      no-probe             ignore probes\n"
    "      no-query             ignore queries\n"
    "  --printer NAME[,ip=A.B.C.D][,type=N][,state=N][,percent=N][,jobs=N]\n"
    "                           a printer of the last server (at most 8 a server).\n"
    "                           NAME has at most 95 bytes; numbers are decimal or 0x-hex.\n"
    "                           Defaults: ip=0.0.0.0 type=0 state=0x88 percent=0 jobs=0.\n"
    "                           type: 0 bidirectional, other LPT. state bits: 0x80 powered\n"
    "                           (clear: off-line), 0x04 busy, 0x08 on-line, 0x20 paper out\n"
    "  --config FILE            read lines 'server ADDR[,FLAG...]' and 'printer NAME[,...]'\n"
    "                           meaning the same as the options; blank lines and lines\n"
    "                           starting with '#' are skipped\n"
    "  --port N                 the UDP port of every server (default 60000)\n"
    "\n"
    "Behaviour:\n"
    "  --announce HOST:PORT     every interval each server that is not silent sends a\n"
    "                           presence reply to HOST:PORT, in the order given\n"
    "  --interval MS            the announce interval in milliseconds (default 1000)\n"
    "  --animate                once a second, printers that start with jobs print:\n"
    "                           percent rises by 25 and wraps to 0 at 100, taking one\n"
    "                           job; busy (0x04) is set while jobs remain; 3 s after the\n"
    "                           last job the jobs come back\n"
    "  --http PORT              every server also serves a status page on TCP ADDR:PORT\n"
    "\n"
    "Process:\n"
    "  --log FILE               append one line per received datagram:\n"
    "                           <ms since start> <server> <ip>:<port> <length> <hex>\n"
    "  --ready-file FILE        write the process id to FILE once every socket is bound\n"
    "  --pidfile FILE           write the process id to FILE; removed at exit\n"
    "  --exit-with-parent       exit when the parent process goes away\n"
    "  --lifetime SEC           exit after SEC seconds\n"
    "  --quiet                  print neither the server summary nor notes\n"
    "  --help                   show this help\n"
    "\n"
    "Exit status: 0 after SIGTERM, SIGINT, the lifetime or the parent's end; 1 if a\n"
    "socket cannot be bound or a file cannot be written; 2 on bad arguments.\n"
    "\n"
    "Example: one server with one printer, and a probe that it answers:\n"
    "  printserver-sim --server 127.0.0.2 --printer LASER,ip=192.168.1.20,jobs=2 &\n"
    "  python3 -c 'import socket; s=socket.socket(socket.AF_INET, socket.SOCK_DGRAM); "
    "s.settimeout(2); s.sendto(b\"\\xaa\"+bytes(7), (\"127.0.0.2\", 60000)); print(s.recvfrom(16))'\n"
    "prints (b'U', ('127.0.0.2', 60000)): the presence reply 0x55 from the server.\n";

bool ParseNumberOption(const std::string& option, const std::string& value, long long min, long long max,
                       int* result, std::string* error)
{
    long long number = 0;
    if (!ParseInteger(value, min, max, &number)) {
        *error = option + " '" + value + "': expected a number from " + std::to_string(min) + " to " +
                 std::to_string(max);
        return false;
    }
    *result = static_cast<int>(number);
    return true;
}

}  // namespace

const char* Options::Usage()
{
    return kUsage;
}

bool Options::AddServer(const std::string& text, std::string* error)
{
    ServerConfig server;
    if (!ServerConfig::Parse(text, &server, error))
        return false;
    for (const ServerConfig& other : servers) {
        if (other.address == server.address) {
            *error = "server " + server.address + " is given twice";
            return false;
        }
    }
    servers.push_back(server);
    return true;
}

bool Options::AddPrinter(const std::string& text, std::string* error)
{
    if (servers.empty()) {
        *error = "printer '" + text + "' needs a preceding --server";
        return false;
    }
    PrinterConfig printer;
    if (!PrinterConfig::Parse(text, &printer, error))
        return false;
    ServerConfig& server = servers.back();
    if (server.printers.size() == ServerConfig::kMaxPrinters) {
        *error = "server " + server.address + ": more than 8 printers (at '" + printer.name + "')";
        return false;
    }
    server.printers.push_back(printer);
    return true;
}

bool Options::ReadConfig(const std::string& path, std::string* error)
{
    std::ifstream file(path);
    if (!file) {
        *error = "cannot read config " + path + ": " + std::strerror(errno);
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        line = TrimText(line);
        if (line.empty() || line[0] == '#')
            continue;
        size_t blank = line.find_first_of(" \t");
        std::string keyword = line.substr(0, blank);
        std::string value = blank == std::string::npos ? std::string() : TrimText(line.substr(blank));
        std::string why;
        bool ok = false;
        if (keyword == "server") {
            ok = AddServer(value, &why);
        } else if (keyword == "printer") {
            ok = AddPrinter(value, &why);
        } else {
            why = "unknown keyword '" + keyword + "' (expected server or printer)";
        }
        if (!ok) {
            *error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        }
    }
    return true;
}

bool Options::ParseAnnounce(const std::string& text, std::string* error)
{
    size_t colon = text.rfind(':');
    in_addr host;
    int announcePort = 0;
    if (colon == std::string::npos || inet_pton(AF_INET, text.substr(0, colon).c_str(), &host) != 1) {
        *error = "--announce '" + text + "': expected HOST:PORT with an IPv4 HOST";
        return false;
    }
    if (!ParseNumberOption("--announce", text.substr(colon + 1), 1, 65535, &announcePort, error))
        return false;
    announce = true;
    announceTo.sin_family = AF_INET;
    announceTo.sin_addr = host;
    announceTo.sin_port = htons(static_cast<uint16_t>(announcePort));
    return true;
}

Options::Result Options::Parse(int argc, char** argv, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::string value;
        bool inlineValue = false;
        size_t equals = name.find('=');
        if (name.compare(0, 2, "--") == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            inlineValue = true;
        }
        if (name == "--help")
            return Result::Help;
        bool flag = name == "--animate" || name == "--exit-with-parent" || name == "--quiet";
        bool valued = name == "--server" || name == "--printer" || name == "--config" || name == "--port" ||
                      name == "--announce" || name == "--interval" || name == "--http" || name == "--log" ||
                      name == "--ready-file" || name == "--pidfile" || name == "--lifetime";
        if (!flag && !valued) {
            *error = name.compare(0, 2, "--") == 0 ? "unknown option '" + name + "'"
                                                   : "unexpected argument '" + name + "'";
            return Result::Error;
        }
        if (flag) {
            if (inlineValue) {
                *error = name + " takes no value";
                return Result::Error;
            }
        } else if (!inlineValue) {
            if (i + 1 >= argc) {
                *error = name + " needs a value";
                return Result::Error;
            }
            value = argv[++i];
        }
        bool ok = true;
        if (name == "--server") {
            ok = AddServer(value, error);
        } else if (name == "--printer") {
            ok = AddPrinter(value, error);
        } else if (name == "--config") {
            ok = ReadConfig(value, error);
        } else if (name == "--port") {
            ok = ParseNumberOption(name, value, 1, 65535, &port, error);
        } else if (name == "--announce") {
            ok = ParseAnnounce(value, error);
        } else if (name == "--interval") {
            ok = ParseNumberOption(name, value, 1, 3600 * 1000, &intervalMs, error);
        } else if (name == "--animate") {
            animate = true;
        } else if (name == "--http") {
            ok = ParseNumberOption(name, value, 1, 65535, &httpPort, error);
        } else if (name == "--log") {
            logFile = value;
        } else if (name == "--ready-file") {
            readyFile = value;
        } else if (name == "--pidfile") {
            pidFile = value;
        } else if (name == "--exit-with-parent") {
            exitWithParent = true;
        } else if (name == "--lifetime") {
            ok = ParseNumberOption(name, value, 1, 1000000, &lifetimeSeconds, error);
        } else if (name == "--quiet") {
            quiet = true;
        }
        if (!ok)
            return Result::Error;
        if ((name == "--log" || name == "--ready-file" || name == "--pidfile") && value.empty()) {
            *error = name + " needs a file name";
            return Result::Error;
        }
    }
    if (servers.empty()) {
        *error = "no server given (use --server ADDR or --config FILE)";
        return Result::Error;
    }
    return Result::Run;
}
