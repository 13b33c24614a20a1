#pragma once
#include "core/database/Money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class SqlDialect;

// Every statement of the video catalogue, for both engines. Nothing here catches: an error
// of the server reaches the caller as EDatabaseError.

// The video list `ADOQueryVideo` (one line per list line; the names of the genre and the
// medium joined; no WHERE part of its own, ordered by number) and the history of its
// current video `ADOQueryVideoCustomer` (parameter VIDEO; also the lines of customers no
// longer in the register; no ORDER BY part of its own).
QStringList VideoListSql();
QStringList VideoHistorySql();

// The search dialog's list: every video with its medium at first, then those whose titles
// begin with the text typed, bound as TITUL (made by SqlDialect::likeBegin; letter case
// folded).
QStringList VideoSearchAllSql();
QStringList VideoSearchSql();

// The conditions of the video page's filter panel. A bound or a choice that is not set
// adds nothing.
struct VideoFilterInput {
    bool codeOn = false;
    std::optional<qint64> codeFirst;
    std::optional<qint64> codeSecond;
    bool titleOn = false;
    QString title; // the beginning of the titles, also empty
    bool directionOn = false;
    std::optional<int> direction; // the identity of the genre chosen
    bool mediumOn = false;
    std::optional<int> medium; // the identity of the medium chosen
    bool registrationOn = false;
    std::optional<QDate> registrationFirst;
    std::optional<QDate> registrationSecond;
    bool lent = false;    // videos out now
    bool overdue = false; // videos out that were due before the run date
    QDate runDate;
};
// The WHERE part of the list for these conditions: lines joined by "AND", the first
// beginning with "WHERE ", each ended by "\n"; empty when no condition applies. Only
// validated values are pasted: numbers as numbers, dates by the program's formatter, the
// title as pasted pattern text, taken as typed (so the free filter can show it).
// The conditions name columns of `tab_video` and nested selects only.
QString VideoFilterWhere(const VideoFilterInput &input, const SqlDialect &dialect);

// The number of videos a WHERE part (as the list's text holds it, also one typed into the
// free filter) selects and the exact sum of their prices, counted by the server over the
// list's own joins; 0 for no video.
struct VideoTotals {
    int count = 0;
    Money sum;
};
VideoTotals CountVideos(const QString &wherePart);

// The titles that begin with `typed` (letter case and Czech letters folded; every
// character typed, "%" and "_" too, stands for itself), in Czech order, trailing blanks
// removed.
QStringList VideoTitleProposals(const QString &typed);

// The lowest free video number.
qint64 LowestFreeVideo();

// A video as the dialogs enter it. A genre or medium identity of 0 (none chosen) names no
// row, and the database refuses it.
struct VideoRecord {
    qint64 number = 0;
    QString title;
    int direction = 0;
    int medium = 0;
    Money price;
};

// Each change runs in one transaction and is rolled back whole when a statement fails.
// A new video; a number taken meanwhile fails on the key.
void InsertVideo(const VideoRecord &video);
// The video's title, genre, medium and price; with `eraseHistory` its lines first leave the
// history lists (the returned ones whose documents are gone are deleted). A video no
// longer in the catalogue fails the change.
void UpdateVideo(const VideoRecord &video, bool eraseHistory);
// Removes the video; its lines leave the history lists, those whose documents are gone are
// deleted, and the lines of the journal's documents stay.
void RemoveVideo(qint64 number);
