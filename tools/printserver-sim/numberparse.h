// Integer parsing for command-line values.
#pragma once

#include <string>

// Parses a decimal or 0x-hex integer with an optional leading '-' and checks
// that it lies in [min, max]. Returns false on bad syntax or range.
bool ParseInteger(const std::string& text, long long min, long long max, long long* value);
