#pragma once
#include <QSqlQuery>
#include <QString>
#include <QVariant>

class QComboBox;

// The small questions the dialogs and pages ask the database. Each runs one fixed
// statement through the command routines; nothing is caught here.

// Existence checks: true when the count is not 0. The ...Other variants leave out
// the row of the given identity or number (0 for a new row, which no row has).
bool MediumExists(const QString &medium);
bool MediumExistsOther(int id, const QString &medium);
bool DirectionExists(const QString &direction);
bool DirectionExistsOther(int id, const QString &direction);
bool UserExists(const QString &user);
bool UserExistsOther(int id, const QString &user);
bool CustomerExists(qint64 customer);
bool BirthNumberExistsOther(qint64 customer, const QString &birthNumber);
bool IdentityCardExistsOther(qint64 customer, const QString &identityCard);
bool VideoExists(qint64 video);
bool TitleExists(const QString &title);
bool CustomerHasLent(qint64 customer);
bool VideoIsLent(qint64 video);
bool CustomerHasVideo(qint64 customer, qint64 video);
bool CustomerHadVideo(qint64 customer, qint64 video);

// The identity of the row of that name, 0 when there is none.
int GetMediumId(const QString &medium);
int GetDirectionId(const QString &direction);
int GetUserId(const QString &user);

// The row marked VYCHOZI=1: its name (empty when none is marked) or its identity (0).
QString GetDefaultMedium();
int GetDefaultMediumId();
QString GetDefaultDirection();
int GetDefaultDirectionId();

// Null when nothing is out now; otherwise whether the earliest due date is before
// RunDate (a due date of today is not overdue).
QVariant CustomerOverdue(qint64 customer);
QVariant VideoOverdue(qint64 video);

// PUJCOVNE, VRATNE, ZALOHA of the medium: one row, none for an unknown name.
QSqlQuery GetMediumPrices(const QString &medium);

// The names of the media, genres and users in Czech order.
QSqlQuery OpenMediumList();
QSqlQuery OpenDirectionList();
QSqlQuery OpenUserList();
// Clear the combo box (text, list, selection) and fill its list with those names.
void FillMediumList(QComboBox *comboBox);
void FillDirectionList(QComboBox *comboBox);
void FillUserList(QComboBox *comboBox);
