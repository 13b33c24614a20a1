// The application object: an error escaping a handler of the main loop is reported and
// the loop goes on; a keypad key that no shortcut took reaches its window action.
#include "core/Application.h"
#include "core/Errors.h"
#include "core/controls/ActionKeys.h"
#include "core/controls/Int64Edit.h"
#include "support/ModalAnswers.h"

#include <QAction>
#include <QDialog>
#include <QEventLoop>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QVBoxLayout>
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

    // On X11 a keypad shortcut ("Num++") never matches: the key press reaches the focused
    // control, and the application hands it to the window's action from there. The "+" of the
    // number row (a digit to a barcode reader) and a disabled action are left alone.
    void keypadKeyReachesItsAction()
    {
        QDialog window;
        auto *edit = new TInt64Edit(&window);
        (new QVBoxLayout(&window))->addWidget(edit);
        auto *action = new QAction(&window);
        action->setShortcut(QKeySequence(Qt::KeypadModifier | Qt::Key_Plus));
        window.addAction(action);
        QSignalSpy triggered(action, &QAction::triggered);
        auto press = [edit](Qt::KeyboardModifiers modifiers) {
            QKeyEvent event(QEvent::KeyPress, Qt::Key_Plus, modifiers, QStringLiteral("+"));
            return TriggerKeypadAction(edit, &event);
        };
        QVERIFY(press(Qt::KeypadModifier));
        QCOMPARE(triggered.count(), 1);
        QVERIFY(!press(Qt::NoModifier));
        action->setEnabled(false);
        QVERIFY(!press(Qt::KeypadModifier));
        QCOMPARE(triggered.count(), 1);
    }
};

int main(int argc, char *argv[])
{
    TValmedoApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
