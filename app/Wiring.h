#pragma once

class TFormValmedo;
struct TValmedoParts;

// What the program hands its main window: the five pages on its notebook, the windows its
// actions and pages open, the prints of the pages and the receipts the desk prints.
TValmedoParts ValmedoParts();

// Builds the main window as the program runs it, on ValmedoParts().
TFormValmedo *BuildFormValmedo();
