// The application object: an error escaping a handler of the main loop is reported and
// the loop goes on; a keypad key that no shortcut took reaches its window action.
#include "core/Application.h"
#include "core/database/Errors.h"
#include "support/ModalAnswers.h"

#include <QDialog>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <stdexcept>

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void errorInHandlerIsReported_data()
    {
        QTest::addColumn<bool>("databaseError");
        QTest::addColumn<QString>("text");
        QTest::newRow("database error") << true << QStringLiteral("Tabulka je zamčena");
        QTest::newRow("std::exception") << false << QStringLiteral("bad_alloc here");
    }
    void errorInHandlerIsReported()
    {
        QFETCH(bool, databaseError);
        QFETCH(QString, text);
        ModalAnswers answers({ClickButton(QStringLiteral("ButtonOk"))});
        QEventLoop loop;
        bool wentOn = false;
        QTimer::singleShot(0, &loop, [&] {
            if (databaseError)
                throw EDatabaseError(text);
            throw std::runtime_error(text.toStdString());
        });
        QTimer::singleShot(0, &loop, [&] {
            wentOn = true;
            loop.quit();
        });
        loop.exec();
        QVERIFY(wentOn);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown().at(0).className, QStringLiteral("TFormWarning"));
        QCOMPARE(answers.shown().at(0).text, text);
    }
};

int main(int argc, char *argv[])
{
    TValmedoApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
