#include "httppage.h"

namespace httppage {

namespace {

std::string FormatIp(const uint8_t* ip)
{
    return std::to_string(ip[0]) + "." + std::to_string(ip[1]) + "." + std::to_string(ip[2]) + "." +
           std::to_string(ip[3]);
}

std::string HttpResponse(const char* status, const std::string& body, const char* extraHeader)
{
    return std::string("HTTP/1.0 ") + status +
           "\r\n"
           "Content-Type: text/html\r\n"
           "Content-Length: " +
           std::to_string(body.size()) + "\r\n" + extraHeader + "Connection: close\r\n\r\n" + body;
}

}  // namespace

const char* StatusWord(uint8_t state)
{
    if ((state & 0x80) == 0)
        return "OFF-LINE";
    if (state & 0x04)
        return "BUSY";
    if (state & 0x08)
        return "ON-LINE";
    if (state & 0x20)
        return "PAPER OUT";
    return "ERROR";
}

std::string HtmlEscape(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string StatusPage(const std::string& serverAddress, const std::vector<PrinterConfig>& printers)
{
    std::string title = "Print server " + HtmlEscape(serverAddress);
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"iso-8859-1\"><title>" + title +
                       "</title></head>\n<body>\n<h1>" + title +
                       "</h1>\n<table border=\"1\">\n"
                       "<tr><th>Printer</th><th>User IP</th><th>Port</th><th>Status</th>"
                       "<th>Jobs</th><th>Percent</th></tr>\n";
    for (const PrinterConfig& printer : printers) {
        page += "<tr><td>" + HtmlEscape(printer.name) + "</td><td>" + FormatIp(printer.ip) + "</td><td>" +
                (printer.portType == 0 ? "Bi-direction" : "LPT") + "</td><td>" + StatusWord(printer.state) +
                "</td><td>" + std::to_string(printer.jobs) + "</td><td>" + std::to_string(printer.percent) +
                "</td></tr>\n";
    }
    page += "</table>\n</body></html>\n";
    return page;
}

std::string Response(const std::string& requestHead, const std::string& page)
{
    if (requestHead.compare(0, 4, "GET ") == 0)
        return HttpResponse("200 OK", page, "");
    return HttpResponse("405 Method Not Allowed", "<html><body>Only GET is served.</body></html>\n",
                        "Allow: GET\r\n");
}

}  // namespace httppage
