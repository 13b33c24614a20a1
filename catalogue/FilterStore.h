#pragma once
#include <QString>

class BrowseQuery;

// The free filter's run of a list: the text a person typed runs as one checked
// condition, inside ReadOnlyStatements.

// Opens `query` with `where` between its select part and its ORDER BY part, joined
// with nothing between them, standing on its first row. True when it ran; false when
// the text was refused (by the program's check, whose refused word goes to the log, or
// by the server), and the query is then open with no filter at all. An error of that
// unfiltered opening is thrown (EDatabaseError).
bool ApplyFreeFilter(BrowseQuery &query, const QString &selectPart, const QString &where,
                     const QString &orderPart);
