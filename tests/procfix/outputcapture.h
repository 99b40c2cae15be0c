// An output writer for ResetPrintProcessors and ProcfixMain that keeps what
// they write: all of it, and message by message.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

extern std::string g_output;
extern std::vector<std::string> g_messages;

int CaptureOutput(const char* pszFormat, va_list args);
