#include "support/ClerkDesks.h"

#include "app/Wiring.h"
#include "catalogue/UCustomerPage.h"
#include "catalogue/UVideoPage.h"
#include "core/MessageForms.h"
#include "core/SystemPassword.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/UStartup.h"
#include "core/UValmedo.h"
#include "core/database/BrowseQuery.h"
#include "core/database/SqlServer.h"
#include "rental/ULendsPage.h"
#include "support/Clerk.h"
#include "support/DeskAnswers.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <iostream>
#include <string>

namespace {

const char *const ServerVariable = "VALMEDO_CLERK_DESK_SERVER";
const char *const DatabaseVariable = "VALMEDO_CLERK_DESK_DATABASE";
const char *const PasswordVariable = "VALMEDO_CLERK_DESK_PASSWORD";

// Answers the windows a command expects, in order. The messages are kept: those that close
// themselves, and those that come after the expected windows (a refused lend's message and
// warning), which are acknowledged with Ok as the clerk does.
class CommandAnswers : public ModalAnswers {
public:
    using ModalAnswers::shown;
    int answer(QDialog *dialog) override
    {
        if (pending() == 0 && (qobject_cast<TFormInformation *>(dialog) || qobject_cast<TFormWarning *>(dialog))) {
            messages << DescribeWindow(dialog).text;
            dialog->accept();
            return dialog->result();
        }
        return ModalAnswers::answer(dialog);
    }
    void shown(QWidget *window) override
    {
        ModalAnswers::shown(window);
        if (qobject_cast<TFormInformation *>(window))
            messages << DescribeWindow(window).text;
    }
    QStringList messages;
};

// "a=b,c=d": the list's values of two fields a row.
QString ListText(const BrowseQuery &list, const char *key, const char *value, QChar separator)
{
    QStringList rows;
    for (int row = 0; row < list.recordCount(); ++row)
        rows << list.valueAt(row, list.fieldIndex(QLatin1String(key))).toString() + separator
                + list.valueAt(row, list.fieldIndex(QLatin1String(value))).toString();
    return rows.join(QLatin1Char(','));
}

// The reply to a lend: its document from the transaction's log line, or the messages shown.
// A lend refused before its recapitulation leaves the answers for it unused.
QString LendReply(CommandAnswers &answers, qsizetype logLines)
{
    static const QRegularExpression written(
        QStringLiteral("^Transakce \\[Půjčení\\] \\[\\d+ ms\\] \\[(\\d+)\\] \\[Ok\\]$"));
    const QStringList log = DeskLogTexts();
    const QRegularExpressionMatch match
        = log.size() > logLines ? written.match(log.constLast()) : QRegularExpressionMatch();
    if (match.hasMatch())
        return QStringLiteral("written %1").arg(match.captured(1).toLongLong());
    answers.clear();
    return QStringLiteral("refused ") + answers.messages.join(QStringLiteral(" / "));
}

// Runs one command at the running main window; its reply.
QString RunCommand(const QStringList &words)
{
    const QString command = words.value(0);
    const QString rest = words.mid(2).join(QLatin1Char(' '));
    CommandAnswers answers;
    QString reply = QStringLiteral("ok");
    if (command == QLatin1String("customer") && words.size() >= 3) {
        CustomerRecord customer;
        customer.number = words.at(1).toLongLong();
        customer.name = rest;
        customer.limit = 2;
        AddCustomerByKeys(answers, customer);
    } else if (command == QLatin1String("video") && words.size() >= 3) {
        AddVideoByKeys(answers, {words.at(1).toLongLong(), rest, QStringLiteral("DVD"), QStringLiteral("-"),
                                 QStringLiteral("100")});
    } else if (command == QLatin1String("lend") && words.size() >= 3) {
        QList<LentVideo> videos;
        for (const QString &video : words.mid(2))
            videos << LentVideo{video.toLongLong(), 1};
        const qsizetype logLines = DeskLogTexts().size();
        LendByKeys(answers, words.at(1).toLongLong(), videos, false);
        reply = LendReply(answers, logLines);
    } else if (command == QLatin1String("refresh")) {
        RefreshDesk();
    } else if (command == QLatin1String("customers")) {
        reply = ListText(*FormValmedo->customerPage()->ADOQueryCustomer, "ZAKAZNIK", "JMENO", u'=');
    } else if (command == QLatin1String("videos")) {
        reply = ListText(*FormValmedo->videoPage()->ADOQueryVideo, "VIDEO", "VYPUJCENA", u':');
    } else if (command == QLatin1String("journal")) {
        reply = ListText(*FormValmedo->lendsPage()->ADOQueryLends, "DOKLAD", "ZAKAZNIK", u':');
    } else {
        return QStringLiteral("error unknown command");
    }
    if (answers.pending() != 0 || QTest::currentTestFailed()) {
        QStringList shown;
        for (const ShownWindow &w : answers.shown())
            shown << w.className + QLatin1Char(' ') + w.text;
        return QStringLiteral("error ") + shown.join(QStringLiteral(" / "));
    }
    return reply;
}

int RunDesk(QApplication &app, const QProcessEnvironment &environment)
{
    QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path())) {
        DeskSays(QStringLiteral("no working folder"));
        return 2;
    }
    SqlServer::setProgramDatabaseName(environment.value(QString::fromLatin1(DatabaseVariable)));
    const QString password = environment.value(QString::fromLatin1(PasswordVariable));
    WritePasswordFile(QString::fromLatin1(PasswordFileName), password);
    ModalAnswers login({Login(QStringLiteral("sa"), password, environment.value(QString::fromLatin1(ServerVariable)))});
    StartupOptions options;
    options.arguments = {QStringLiteral("valmedo4")};
    options.instanceName = QStringLiteral("clerk-desk-%1").arg(QCoreApplication::applicationPid());
    options.running = [] {
        // This desk's settings: no list of the videos a customer has out, no receipt.
        FormSetupVideo->CheckBoxLendInformation->setChecked(false);
        FormSetupVideo->CheckBoxCash->setChecked(false);
        FormSetupPrint->CheckBoxOriginal->setChecked(false);
        DeskSays(QStringLiteral("ready"));
        std::string input;
        while (std::getline(std::cin, input)) {
            const QStringList words = QString::fromStdString(input).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.value(0) == QLatin1String("quit"))
                break;
            if (!words.isEmpty())
                DeskSays(RunCommand(words));
        }
        ModalAnswers closing({ClickButton(QStringLiteral("ButtonYes"))}); // "Ukončit program ?"
        FormValmedo->close();
    };
    RunValmedo(app, BuildFormValmedo, options);
    return 0;
}

} // namespace

std::optional<int> RunAsClerkDesk()
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QString::fromLatin1(ServerVariable)))
        return std::nullopt;
    return RunDesk(*qApp, environment);
}

ClerkDeskProcess::ClerkDeskProcess(const TestDatabase &db)
    : DeskProcess({{QString::fromLatin1(ServerVariable), db.serverName()},
                   {QString::fromLatin1(DatabaseVariable), db.databaseName()},
                   {QString::fromLatin1(PasswordVariable), db.password()}})
{
}

QString ClerkDeskProcess::ask(const QString &command)
{
    send(command);
    return reply(60000);
}
