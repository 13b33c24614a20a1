#pragma once

class TFormValmedo;

// Builds the main window as the program runs it: the five pages on its notebook, the
// windows its actions and pages open, and the receipts the desk prints.
TFormValmedo *BuildFormValmedo();
