#pragma once
#include <QtGlobal>

// The smaller and the larger of two signed 32-bit integers (the cipher units' own helpers).
inline qint32 Min(qint32 a, qint32 b) { return a < b ? a : b; }
inline qint32 Max(qint32 a, qint32 b) { return a > b ? a : b; }
