#pragma once
#include <QtGlobal>
#include <functional>

// The rules the customer and video registers share, without database or windows.

// The number a new customer or video is to get: "Nepovolený kód..." for 0 (an empty box
// counts as 0), else "Kód již v databázi existuje..." when a row has it. The two are never
// shown together, and the number is looked up only when it is not 0.
struct NewNumberWarnings {
    bool prohibition = false;
    bool exist = false;
};
NewNumberWarnings CheckNewNumber(qint64 number, const std::function<bool(qint64 number)> &numberExists);

// Whether the clerk may change the identity data of a customer or video: with the editing
// right while nothing of it is out, or with the special right always.
bool IdentityEditable(bool editRight, bool hasLent, bool specialRight);
