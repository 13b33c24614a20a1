#pragma once

// The desk's running totals in crowns, single precision, 0 at start: the fees (or the late
// fees) and the deposits of the basket whose status bar was shown last, or of the receipt made
// last. Whatever set them last is what the recapitulations and the change calculator read.
extern float TotalPayment;
extern float TotalDeposit;
