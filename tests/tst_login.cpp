// The login dialog, its server list and the system password dialog.
#include "core/ULogin.h"
#include "core/USystemPass.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

class TestLogin : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
    }

    void controls()
    {
        TFormLogin login;
        QCOMPARE(login.windowTitle(), QStringLiteral(" Přihlášení"));
        QCOMPARE(login.EditUser->text(), QStringLiteral("sa"));
        QCOMPARE(login.EditUser->maxLength(), 16);
        QCOMPARE(login.EditPassword->maxLength(), 16);
        QCOMPARE(login.ComboBoxServer->lineEdit()->maxLength(), 128);
        QCOMPARE(login.EditPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(login.EditPassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter,
                                                          nullptr, login.EditPassword),
                 int('*'));
        QVERIFY(login.ButtonOk->isDefault());
        QCOMPARE(login.ButtonCancel->text(), QStringLiteral("Storno"));
        // Tab order: user, password, server, Ok, Storno.
        QWidget *expected[] = {login.EditPassword, login.ComboBoxServer, login.ButtonOk,
                               login.ButtonCancel};
        QWidget *w = login.EditUser;
        for (QWidget *next : expected) {
            QWidget *previous = w;
            w = w->nextInFocusChain();
            while (w != next && (w->focusPolicy() == Qt::NoFocus || previous->isAncestorOf(w)))
                w = w->nextInFocusChain();
            QCOMPARE(w, next);
        }
    }

    // Every showing clears the password and focuses it, or the user name when empty.
    void activation_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("focus");
        QTest::newRow("user given") << "pepa" << "EditPassword";
        QTest::newRow("no user") << "" << "EditUser";
    }
    void activation()
    {
        QFETCH(QString, user);
        QFETCH(QString, focus);
        TFormLogin login;
        login.EditUser->setText(user);
        login.EditPassword->setText(QStringLiteral("secret"));
        login.show();
        QApplication::setActiveWindow(&login);
        QVERIFY(QTest::qWaitForWindowActive(&login));
        QVERIFY(login.EditPassword->text().isEmpty());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        login.hide();
        login.EditPassword->setText(QStringLiteral("again"));
        login.show();
        QVERIFY(login.EditPassword->text().isEmpty());
        QCOMPARE(login.EditUser->text(), user);
    }

    void serverList()
    {
        QStringList items{QStringLiteral("kept")};
        ListSQLServers(items);
        QVERIFY(IsWindowsNT());
        QVERIFY(items.size() >= 2);
        QCOMPARE(items.at(0), QStringLiteral("kept")); // not cleared first
        QCOMPARE(items.at(1), QStringLiteral("(local)"));
    }

    // A stored server stands even when it is not among the servers found, and a typed
    // name is never added to the list; only a successful login stores.
    void storedValues()
    {
        QFile::remove(QStringLiteral("Valmedo4.ini"));
        {
            TFormLogin login;
            login.ComboBoxServer->addItems({QStringLiteral("(local)"), QStringLiteral("localhost")});
            login.EditUser->setText(QStringLiteral("pokladna"));
            login.ComboBoxServer->setEditText(QStringLiteral("desk-server:5433"));
            login.EditPassword->setText(QStringLiteral("never"));
            login.SaveStoredValues();
        }
        QFile ini(QStringLiteral("Valmedo4.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(ini.readAll());
        QVERIFY(text.contains(QLatin1String("EditUser_Text=pokladna")));
        QVERIFY(text.contains(QLatin1String("ComboBoxServer_Text=desk-server:5433")));
        QVERIFY(!text.contains(QLatin1String("never")));

        TFormLogin login;
        login.ComboBoxServer->addItems({QStringLiteral("(local)"), QStringLiteral("localhost")});
        login.RestoreStoredValues();
        QCOMPARE(login.EditUser->text(), QStringLiteral("pokladna"));
        QCOMPARE(login.ComboBoxServer->currentText(), QStringLiteral("desk-server:5433"));
        QCOMPARE(login.ComboBoxServer->count(), 2);
        login.ComboBoxServer->lineEdit()->setFocus();
        QTest::keyClick(login.ComboBoxServer->lineEdit(), Qt::Key_Return);
        QCOMPARE(login.ComboBoxServer->count(), 2);
    }

    void systemPasswordDialog()
    {
        TFormSystemPass dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral(" Systémové heslo"));
        QCOMPARE(dialog.LabelSystemPass->text(), QStringLiteral("Heslo systémového administrátora:"));
        QCOMPARE(dialog.EditSystemPass->maxLength(), 32);
        QCOMPARE(dialog.EditSystemPass->echoMode(), QLineEdit::Password);
        QVERIFY(dialog.ButtonOk->isDefault());
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
