#pragma once
// What the runs of several lending and returning desks check afterwards (BenchSupport.h): the
// documents the desks reported written, and the journal itself, which must have started
// empty for the lend counts to equal the lines.

#include "BenchSupport.h"

#include <QHash>
#include <QSet>

namespace bench {

// The writes the desks reported ("written <document>", "returned <document> <lines>"), each
// of which must be in the journal, under a number of its own.
class DeskReports {
public:
    // Notes a reply or an output line of a desk; false when it reports no write.
    bool note(const QString &line)
    {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2 || (words.first() != QLatin1String("written") && words.first() != QLatin1String("returned")))
            return false;
        const bool lend = words.first() == QLatin1String("written");
        (lend ? m_lends : m_returns) += 1;
        const qint64 document = words.at(1).toLongLong();
        if (document == 0)
            return true; // a return out of the takings has no document
        if (m_numbers.contains(document))
            ++m_duplicates;
        m_numbers.insert(document);
        // A return's document must have closed exactly the lines the desk took back.
        if (!lend)
            m_returnLines.insert(document, words.value(2).toLongLong());
        return true;
    }
    qint64 lends() const { return m_lends; }
    qint64 returns() const { return m_returns; }
    qint64 duplicateNumbers() const { return m_duplicates; }

    // Reported writes not in the journal as reported: a document missing or of the other
    // operation, a return document without exactly the lines the desk closed with it.
    qint64 missing() const
    {
        QHash<qint64, int> operations;
        {
            QSqlQuery q(CurrentConnection());
            if (!q.exec(QStringLiteral("SELECT DOKLAD,OPERACE FROM tab_pujcky")))
                throw EDatabaseError(q.lastError().text());
            while (q.next())
                operations.insert(q.value(0).toLongLong(), q.value(1).toInt());
        }
        QHash<qint64, qint64> closed;
        {
            QSqlQuery q(CurrentConnection());
            if (!q.exec(QStringLiteral("SELECT DOKLAD_VRA,COUNT(*) FROM tab_pujckydetail WHERE DOKLAD_VRA IS NOT NULL "
                                       "GROUP BY DOKLAD_VRA")))
                throw EDatabaseError(q.lastError().text());
            while (q.next())
                closed.insert(q.value(0).toLongLong(), q.value(1).toLongLong());
        }
        qint64 missing = 0;
        for (qint64 document : m_numbers) {
            const bool isReturn = m_returnLines.contains(document);
            if (operations.value(document, -1) != (isReturn ? 0 : 1)
                || (isReturn && closed.value(document) != m_returnLines.value(document)))
                ++missing;
        }
        return missing;
    }

private:
    qint64 m_lends = 0;
    qint64 m_returns = 0;
    qint64 m_duplicates = 0;
    QSet<qint64> m_numbers;
    QHash<qint64, qint64> m_returnLines;
};

// The journal's soundness after the desks: each figure must be 0.
struct JournalFindings {
    qint64 lendDocuments = 0;
    qint64 returnDocuments = 0;
    qint64 lines = 0;
    qint64 linesOut = 0;
    qint64 lendsWithoutLines = 0;      // lend documents without a line
    qint64 returnsWithoutLines = 0;    // return documents that closed no line
    qint64 linesWithoutLend = 0;       // lines whose lend document is gone or not a lend of their customer
    qint64 videosOutTwice = 0;
    qint64 closedWithoutTime = 0;      // closed lines without their return time
    qint64 closedWithoutDocument = 0;  // closed lines naming a return document that is not theirs
    qint64 openMarkedReturned = 0;     // lines out with a return time or document
    qint64 customersOff = 0;           // customers whose lend count differs from their lines
    qint64 videosOff = 0;              // videos whose lend count differs from their lines

    bool sound() const
    {
        return lendsWithoutLines + returnsWithoutLines + linesWithoutLend + videosOutTwice + closedWithoutTime
                   + closedWithoutDocument + openMarkedReturned + customersOff + videosOff
            == 0;
    }

    QString text() const
    {
        return QStringLiteral("%1 lend and %2 return documents, %3 lines (%4 out); %5 lend documents without "
                              "lines, %6 return documents without lines, %7 lines without their lend document, "
                              "%8 videos out twice, %9 closed lines without return time, %10 closed lines without "
                              "their return document, %11 lines out marked returned, %12 customers and %13 videos "
                              "whose lend count differs from their lines")
            .arg(lendDocuments)
            .arg(returnDocuments)
            .arg(lines)
            .arg(linesOut)
            .arg(lendsWithoutLines)
            .arg(returnsWithoutLines)
            .arg(linesWithoutLend)
            .arg(videosOutTwice)
            .arg(closedWithoutTime)
            .arg(closedWithoutDocument)
            .arg(openMarkedReturned)
            .arg(customersOff)
            .arg(videosOff);
    }
};

// The videos that more than one line has out now.
inline qint64 videosOutTwice()
{
    return count(QStringLiteral("SELECT COUNT(*) FROM (SELECT VIDEO FROM tab_pujckydetail WHERE PUJCENA=1 "
                                "GROUP BY VIDEO HAVING COUNT(*)>1) twice"));
}

inline JournalFindings checkJournal()
{
    JournalFindings f;
    f.lendDocuments = count(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky WHERE OPERACE=1"));
    f.returnDocuments = count(QStringLiteral("SELECT COUNT(*) FROM tab_pujcky WHERE OPERACE=0"));
    f.lines = count(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail"));
    f.linesOut = count(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1"));
    f.lendsWithoutLines = count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_pujcky p WHERE OPERACE=1 AND NOT EXISTS "
        "(SELECT 1 FROM tab_pujckydetail d WHERE d.DOKLAD_PUJ=p.DOKLAD)"));
    f.returnsWithoutLines = count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_pujcky p WHERE OPERACE=0 AND NOT EXISTS "
        "(SELECT 1 FROM tab_pujckydetail d WHERE d.DOKLAD_VRA=p.DOKLAD)"));
    f.linesWithoutLend = count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_pujckydetail d WHERE NOT EXISTS "
        "(SELECT 1 FROM tab_pujcky p WHERE p.DOKLAD=d.DOKLAD_PUJ AND p.OPERACE=1 AND p.ZAKAZNIK=d.ZAKAZNIK)"));
    f.videosOutTwice = videosOutTwice();
    f.closedWithoutTime = count(QStringLiteral("SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=0 AND VRACENO IS NULL"));
    f.closedWithoutDocument = count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_pujckydetail d WHERE PUJCENA=0 AND DOKLAD_VRA IS NOT NULL AND NOT EXISTS "
        "(SELECT 1 FROM tab_pujcky p WHERE p.DOKLAD=d.DOKLAD_VRA AND p.OPERACE=0 AND p.ZAKAZNIK=d.ZAKAZNIK)"));
    f.openMarkedReturned = count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_pujckydetail WHERE PUJCENA=1 AND (VRACENO IS NOT NULL OR DOKLAD_VRA IS NOT NULL)"));
    f.customersOff = count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_zakaznik z WHERE PUJCKY<>(SELECT COUNT(*) FROM tab_pujckydetail d WHERE d.ZAKAZNIK=z.ZAKAZNIK)"));
    f.videosOff = count(QStringLiteral(
        "SELECT COUNT(*) FROM tab_video v WHERE VYPUJCENA<>(SELECT COUNT(*) FROM tab_pujckydetail d WHERE d.VIDEO=v.VIDEO)"));
    return f;
}

} // namespace bench
