#pragma once
#include "reports/ReportPages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The prepared-pages file ".qrp": a header of 128 bytes, the report's title, then one
// record per page.
//
//   0  "VQRP"                          4  format version (uint16 LE)
//   6  header size, 128 (uint16 LE)    8  page count (int32 LE)
//  12  paper width, 16 paper height in hundredths of a millimetre (int32 LE)
//  20  orientation: 0 portrait, 1 landscape (uint16 LE); the rest zero
// 128  title: length (uint32 LE) and UTF-8 bytes
//      each page: length (uint32 LE) and its drawing operations
//
// A file is untrusted: every count and length is checked against the bytes that are
// really there before it is used, and anything else refuses the whole file.
inline constexpr int QrpHeaderSize = 128;
inline constexpr int QrpPageCountOffset = 8;

QByteArray QrpBytes(const PreparedReport &report);
// The pages of a file's bytes; throws EReportError when they are not a page file.
void ReadQrpBytes(const QByteArray &bytes, PreparedReport &report);

// Writes the pages (replacing the file only once all is written); throws EReportError.
void SaveQrpFile(const QString &fileName, const PreparedReport &report);
// Loads a page file in place of the report's pages, title and paper; throws EReportError
// and leaves the report as it was when the file cannot be read or is no page file.
void LoadQrpFile(const QString &fileName, PreparedReport &report);

// A new, empty, uniquely named file "qrp…" in the temporary folder; false when none
// can be made.
bool TempQrpFileName(QString &fileName);

// Copies pages FromPage to ToPage of SourceFile (all when FromPage is 0) into
// TargetFile; false when a file cannot be read or written.
bool CopyQrpPages(const QString &sourceFile, const QString &targetFile, int fromPage, int toPage);

// Joins all pages of the listed files, in list order, into TargetFile. -1 when TargetFile
// is empty, -2 when there is no list, -3 when the list is empty (the last check that
// fails gives the result), -4 when a file cannot be read or written, 0 when done.
int JoinQrpFiles(const QString &targetFile, const QStringList *files);
