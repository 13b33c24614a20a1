#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

class BrowseQuery;

// The statements of the day overview: seven read-only lists of the state of the shop on
// the run date. Tab 0 the lines out, 1 the lines out past their due date, 2 and 3 the
// lines lent and returned that day, 4 the day's customers, 5 the customers who lent that
// day with their rental, 6 those who returned with their late fees.
inline constexpr int ViewListCount = 7;

// The caption of the list's tab.
QString ViewListCaption(int list);
// Gives the query the statement of list `list` with its field kinds, formats and origins.
void PrepareViewQuery(BrowseQuery &query, int list);
// Binds the run date: the day's bounds (its 00:00 and the next day's) as values.
void SetViewParameters(BrowseQuery &query, int list, const QDate &runDate);
