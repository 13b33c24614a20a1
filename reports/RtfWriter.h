#pragma once
#include <QByteArray>
#include <QString>

class PreparedReport;

// The prepared pages as an RTF document: each text in a frame at its place on the page
// (a word processor shows the texts where the report prints them), a page break between
// pages. Lines, frames and pictures are left out.
QByteArray RtfDocument(const PreparedReport &report);
// Writes the document to the file (replacing it only once all is written); throws
// EReportError.
void ExportRtf(const PreparedReport &report, const QString &fileName);
