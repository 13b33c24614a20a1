#pragma once
#include "core/database/Money.h"

#include <QString>
#include <QStringList>

// The statements of the two code books: media (tab_nosic, with their fees) and genres
// (tab_zamereni). Each change is one statement run under the transaction frame's
// savepoint (FrameStatement), so that one the database refuses undoes only itself and
// the rest of the window's work stays. Every routine throws EDatabaseError when the
// statement fails: a medium or genre still used by a video cannot be removed.

// The longest names the columns hold.
constexpr int MediumNameLength = 16;
constexpr int DirectionNameLength = 32;

// What the new and edit dialogs of a medium give.
struct MediumValues {
    QString name;
    bool dubbing = false;
    Money rentalFee; // PUJCOVNE, per day
    Money lateFee;   // VRATNE, per day
    Money deposit;   // ZALOHA
};

// The statement of the media list: every column, in Czech order of the names.
QStringList MediumQuerySql();
// The new medium's identity; a new medium is never the default.
int InsertMedium(const MediumValues &values);
void UpdateMedium(int id, const MediumValues &values);
void DeleteMedium(int id);
// Makes that medium the one default, every other not (one statement).
void SetDefaultMedium(int id);
// Switches the dubbing flag of the medium (a flag never set becomes set).
void ToggleMediumDubbing(int id);

// The statement of the genre list, in Czech order of the names.
QStringList DirectionQuerySql();
int InsertDirection(const QString &name);
void RenameDirection(int id, const QString &name);
void DeleteDirection(int id);
void SetDefaultDirection(int id);
