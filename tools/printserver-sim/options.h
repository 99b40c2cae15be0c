// The simulator's command line and config file.
#pragma once

#include "serverconfig.h"

#include <netinet/in.h>

#include <string>
#include <vector>

class Options {
public:
    enum class Result { Run, Help, Error };

    // Parses the arguments (argv[0] is the program); on Error, *error says why.
    Result Parse(int argc, char** argv, std::string* error);

    static const char* Usage();

    std::vector<ServerConfig> servers;
    int port = 60000;
    bool announce = false;
    sockaddr_in announceTo = {};
    int intervalMs = 1000;
    bool animate = false;
    int httpPort = 0;  // 0: no web pages
    std::string logFile;
    std::string readyFile;
    std::string pidFile;
    bool exitWithParent = false;
    int lifetimeSeconds = 0;  // 0: run until signalled
    bool quiet = false;

private:
    bool AddServer(const std::string& text, std::string* error);
    bool AddPrinter(const std::string& text, std::string* error);
    bool ReadConfig(const std::string& path, std::string* error);
    bool ParseAnnounce(const std::string& text, std::string* error);
};
