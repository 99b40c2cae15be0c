// procfix: puts every installed printer's spooler configuration into the
// form the print server needs. Takes no arguments; always exits with 0.
#include "procfix/procfixmain.h"

#include <cstdio>

int main()
{
    return ProcfixMain(vprintf);
}
