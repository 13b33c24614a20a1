#include "core/UValmedo.h"
#include "rental/ULendsPage.h"
#include "reports/Report.h"
