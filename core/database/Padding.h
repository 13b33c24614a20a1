#pragma once
#include <QString>

// The text without its trailing blanks (the padding of the fixed-width columns).
QString TrimmedRight(const QString &text);
