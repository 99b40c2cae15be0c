#include "afx/cdc.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
