#include "core/controls/IntegerEdit.h"
