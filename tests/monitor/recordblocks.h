// Tracks the live heap blocks of exactly the size of a printer record, by
// replacing the global operator new and delete of the test program.
#pragma once

#include <set>

std::set<const void*> LiveRecordBlocks();
