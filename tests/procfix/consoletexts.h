// procfix's console texts as the tests expect them, line feeds unchanged.
#pragma once

#include <string>

const std::string kStars = std::string(12, ' ') + std::string(45, '*') + "\n";
const std::string kBanner = kStars + std::string(12, ' ') + "*\t Checking started,please waiting..." +
                            std::string(5, ' ') + "*\n" + kStars + "\n";
const std::string kUnsupported = "Only support Win98/ME/2000/XP !\n";
const std::string kCheckOver = "Check over...\n";
const std::string kNote = "Note: No printer need to be reset !\n";
const std::string kHint = "\nPlease run <Queue Tuner> to check if every print processor is <WinPrint> .\n";
const std::string kPress = "\nPress any key to exit .\n";

inline std::string NeedReset(const std::string& name)
{
    return name + " Configure data need reset ...\n";
}

inline std::string ResetOk(const std::string& name)
{
    return "Reset " + name + " OK !!!\n\n";
}

inline std::string ResetError(const std::string& name, bool bWin9x)
{
    return "Reset " + name + (bWin9x ? " error !!!\n" : " error ,access denied !!!\n");
}

inline std::string OpenError(const std::string& name)
{
    return "Open " + name + " error...\n";
}

inline std::string AccessDenied(const std::string& name)
{
    return "Access " + name + " is denied !\n";
}
