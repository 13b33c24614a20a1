#pragma once

// The desk's running totals in crowns, single precision, 0 at start: the fees (or the late
// fees) and the deposits of the basket whose status bar was shown last. The recapitulations
// and the change calculator do not read them: they ask what the document books
// (DocumentAmount, rental/LendRules.h).
extern float TotalPayment;
extern float TotalDeposit;
