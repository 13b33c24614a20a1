#include "core/database/Errors.h"
#include "core/Messages.h"
