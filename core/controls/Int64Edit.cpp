#include "core/controls/Int64Edit.h"
