#pragma once
#include <QString>

class BrowseQuery;

// The free filter's run of a list: the text a person typed runs as one statement that
// only reads.

// While it lives, the program's connection only reads (PostgreSQL: read-only
// transactions; SQLite: query_only). Throws EDatabaseError when it cannot begin.
class ReadOnlyStatements {
public:
    ReadOnlyStatements();
    ~ReadOnlyStatements();
    ReadOnlyStatements(const ReadOnlyStatements &) = delete;
    ReadOnlyStatements &operator=(const ReadOnlyStatements &) = delete;
};

// Opens `query` with `where` between its select part and its ORDER BY part, joined
// with nothing between them, standing on its first row. True when it ran; false when
// the text was refused (a second statement in it, or the server refused it), and
// the query is then open with no filter at all. An error of that unfiltered opening
// is thrown (EDatabaseError).
bool ApplyFreeFilter(BrowseQuery &query, const QString &selectPart, const QString &where,
                     const QString &orderPart);
