#include "catalogue/UCustomerPage.h"
#include "app/Wiring.h"
