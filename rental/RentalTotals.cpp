#include "rental/RentalTotals.h"

float TotalPayment = 0.0f;
float TotalDeposit = 0.0f;
