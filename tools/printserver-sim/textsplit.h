// Small string helpers for the option and config parsers.
#pragma once

#include <string>
#include <vector>

// Splits at every separator; always returns at least one (possibly empty) part.
std::vector<std::string> SplitText(const std::string& text, char separator);

// Removes leading and trailing blanks (spaces, tabs, CR, LF).
std::string TrimText(const std::string& text);
