#include "core/PwdUtils.h"
