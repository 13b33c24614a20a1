// What the customer and the video page do alike on a logged-in desk, one table over both:
// the free filter handed the list, the keys from every control, the number box, the empty
// list, the new number typed over its proposal and the number typed into the search dialog. Each page
// is described by its controls' objectNames, its actions and its status bar.
#include "catalogue/UCustomerPage.h"
#include "catalogue/UVideoPage.h"
#include "core/RunGlobals.h"
#include "core/UValmedo.h"
#include "core/controls/DateTimePicker.h"
#include "core/controls/FilterPanel.h"
#include "core/database/BrowseQuery.h"
#include "support/ModalAnswers.h"
#include "support/PageDesk.h"
#include "support/ShopRows.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate Today(2026, 12, 10);

// One of the two list pages, by what the tests reach it through.
struct PageSubject {
    int page; // TFormValmedo::Page
    const char *list;
    const char *numberBox, *nameBox;
    const char *handOver; // the signal of each new current row
    const char *numberNotFound;
    // The filter panel's number range: its box and its bounds.
    const char *codeBox, *codeFirst, *codeSecond;
    const char *filterButton;
    TFilterPanel *(*panel)(TFormValmedo *window);
    // The filter panel's boxes whose editors Enter is tried in, and the controls it is tried
    // from (a date picker by its date box).
    QStringList panelBoxes;
    QStringList keyControls;
    Qt::Key addKey;
    const char *edit, *add, *remove, *find, *print, *exportImport;
    ValmedoAction printAction;
    const char *empty; // what an action says on an empty list
    // The new-record dialog, and the search dialog with its number box and list.
    const char *newForm, *newNumber, *newName;
    const char *findForm, *findNumber, *findList;
    void (*addRow)(qint64 number, const QString &name);
    QVariant (*nameOf)(qint64 number);
    // The texts of the page's status bar.
    QStringList (*bar)(TFormValmedo *window);
};

const PageSubject Customer{
    TFormValmedo::PageCustomer,
    "ADOQueryCustomer",
    "Int64EditCustomerCustomer",
    "ComboBoxCustomerName",
    SIGNAL(CurrentCustomerChanged(qint64, QString)),
    "Hledaný kód zákazníka nenalezen...",
    "CheckBoxCustomerCustomer",
    "Int64EditCustomerCustomerFirst",
    "Int64EditCustomerCustomerSecond",
    "ButtonCustomerFilter",
    [](TFormValmedo *window) { return window->customerPage()->FilterPanel; },
    {"CheckBoxCustomerCustomer", "CheckBoxCustomerName", "CheckBoxCustomerLimit", "CheckBoxCustomerRegistration"},
    {"Int64EditCustomerCustomer", "ComboBoxCustomerName", "RxDBGridCustomer", "RxDBGridCustomerVideo",
     "Int64EditCustomerCustomerFirst", "EditCustomerName", "ComboBoxCustomerLimit",
     "DateTimePickerCustomerRegistrationFirst"},
    Qt::Key_F2,
    "ActionCustomerEdit",
    "ActionCustomerNew",
    "ActionCustomerDelete",
    "ActionCustomerFind",
    "ActionCustomerPrint",
    "ActionCustomerExportImport",
    ValmedoAction::CustomerPrint,
    "V evidenci není žádný zákazník...",
    "TFormCustomerNew",
    "Int64EditCustomer",
    "EditName",
    "TFormCustomerFind",
    "Int64EditCustomer",
    "ADOQueryCustomerFind",
    [](qint64 number, const QString &name) { AddCustomer({number, name}); },
    [](qint64 number) { return CustomerColumn(number, "JMENO"); },
    [](TFormValmedo *window) { return QStringList{window->customerPage()->StatusText()}; },
};

const PageSubject Video{
    TFormValmedo::PageVideo,
    "ADOQueryVideo",
    "Int64EditVideoVideo",
    "ComboBoxVideoTitle",
    SIGNAL(CurrentVideoChanged(qint64, QString)),
    "Hledaný kód videa nenalezen...",
    "CheckBoxVideoVideo",
    "Int64EditVideoVideoFirst",
    "Int64EditVideoVideoSecond",
    "ButtonVideoFilter",
    [](TFormValmedo *window) { return window->videoPage()->FilterPanel; },
    {"CheckBoxVideoVideo", "CheckBoxVideoTitle", "CheckBoxVideoDirection", "CheckBoxVideoRegistration"},
    {"Int64EditVideoVideo", "ComboBoxVideoTitle", "RxDBGridVideo", "RxDBGridVideoCustomer",
     "Int64EditVideoVideoFirst", "EditVideoTitle", "ComboBoxVideoDirection", "DateTimePickerVideoRegistrationFirst"},
    Qt::Key_F3,
    "ActionVideoEdit",
    "ActionVideoNew",
    "ActionVideoDelete",
    "ActionVideoFind",
    "ActionVideoPrint",
    "ActionVideoExportImport",
    ValmedoAction::VideoPrint,
    "V evidenci není žádné video...",
    "TFormVideoNew",
    "Int64EditVideo",
    "EditTitle",
    "TFormVideoFind",
    "Int64EditVideo",
    "ADOQueryVideoFind",
    [](qint64 number, const QString &title) { AddVideo(number, title); },
    [](qint64 number) { return VideoColumn(number, "TITUL"); },
    [](TFormValmedo *window) { return QStringList{window->videoPage()->StatusText(), window->videoPage()->SumText()}; },
};

// The rows of a test that runs on SQLite alone: one a page.
void AddPageRows()
{
    QTest::addColumn<const PageSubject *>("subject");
    QTest::newRow("customer") << &Customer;
    QTest::newRow("video") << &Video;
}

// One a page and an engine.
void AddPageEngineRows()
{
    QTest::addColumn<const PageSubject *>("subject");
    QTest::addColumn<Engine>("engine");
    for (const auto &[page, subject] : {std::pair{"customer", &Customer}, std::pair{"video", &Video}})
        for (const auto &[name, engine] : {std::pair{"sqlite", Engine::SQLite}, std::pair{"postgres", Engine::PostgreSQL}})
            QTest::addRow("%s-%s", page, name) << subject << engine;
}

// The control of that objectName; one missing is a fault of the description above, which
// stops the program.
template <class Widget>
Widget *Named(QObject *parent, const QString &name)
{
    auto *found = parent->findChild<Widget *>(name);
    if (!found)
        qFatal("no %s named %s", Widget::staticMetaObject.className(), qPrintable(name));
    return found;
}

// Answers the dialog of class `form` by `work`: as On<Form> does, for a form named by the
// page's description.
Answer OnForm(const char *form, std::function<void(QDialog *)> work)
{
    return [form, work = std::move(work)](QDialog *dialog) {
        if (qstrcmp(dialog->metaObject()->className(), form) != 0) {
            QTest::qFail(qPrintable("unexpected window " + dialog->windowTitle()), __FILE__, __LINE__);
            return int(QDialog::Rejected);
        }
        work(dialog);
        return dialog->result();
    };
}

} // namespace

Q_DECLARE_METATYPE(const PageSubject *)

class TestCataloguePages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
        SetRunDate(Today);
    }
    // Every desk starts with the rental settings' defaults.
    void init() { QFile::remove("Valmedo4.ini"); }

    // The free filter button hands the list's query to the filter window.
    void freeFilter_data() { AddPageRows(); }
    void freeFilter()
    {
        QFETCH(const PageSubject *, subject);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        PageDesk desk(db, subject->page, "sa");
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        BrowseQuery *given = nullptr;
        desk.window()->parts().filterWindow = [&](BrowseQuery *query) {
            given = query;
            return new QDialog;
        };
        ModalAnswers answers({Reject()});
        Named<QPushButton>(desk.window(), subject->filterButton)->click();
        QCOMPARE(given, Named<BrowseQuery>(desk.window(), subject->list));
    }

    // Enter edits from every control of the page (the filter panel's too), the add key
    // adds, Del removes only from the list.
    void actionKeys_data() { AddPageRows(); }
    void actionKeys()
    {
        QFETCH(const PageSubject *, subject);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        PageDesk desk(db, subject->page, "sa");
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        subject->panel(desk.window())->Open();
        for (const QString &box : subject->panelBoxes)
            Named<QCheckBox>(desk.window(), box)->click(); // their editors enabled
        QSignalSpy edit(desk.action(subject->edit), &QAction::triggered);
        QSignalSpy add(desk.action(subject->add), &QAction::triggered);
        QSignalSpy remove(desk.action(subject->remove), &QAction::triggered);
        ModalAnswers answers(QList<Answer>(subject->keyControls.size(), Reject()));
        for (const QString &name : subject->keyControls) {
            QWidget *control = Named<QWidget>(desk.window(), name);
            if (auto *picker = qobject_cast<TDateTimePicker *>(control))
                control = picker->DateEdit();
            control->setFocus();
            QWidget *focused = QApplication::focusWidget();
            QVERIFY2(focused == control || control->isAncestorOf(focused), qPrintable(name));
            const qsizetype edits = edit.size();
            QTest::keyClick(focused, Qt::Key_Return);
            QVERIFY2(edit.size() == edits + 1, qPrintable(name));
            QTest::keyClick(focused, subject->addKey);
            QTest::keyClick(focused, Qt::Key_Delete);
        }
        QCOMPARE(add.size(), subject->keyControls.size());
        QCOMPARE(remove.size(), 1);
    }

    // The number box finds exactly, in the filtered list, and hands each new current row
    // on; an unknown number empties the name box and leaves the list where it was, and Enter
    // then says it was not found; text written by code does not search.
    void numberBox_data() { AddPageEngineRows(); }
    void numberBox()
    {
        QFETCH(const PageSubject *, subject);
        OPEN_TEST_DATABASE(db);
        for (qint64 number = 1; number <= 5; ++number)
            subject->addRow(number, QStringLiteral("Číslo %1").arg(number));
        PageDesk desk(db, subject->page, "sa");
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        auto *box = Named<QLineEdit>(desk.window(), subject->numberBox);
        auto *name = Named<QComboBox>(desk.window(), subject->nameBox);
        QSignalSpy handed(desk.window()->notebook()->widget(subject->page), subject->handOver);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "3");
        QCOMPARE(desk.current(), qint64(3));
        QCOMPARE(name->currentText(), QString("Číslo 3"));
        QVERIFY(!handed.isEmpty());
        QCOMPARE(box->text(), QString("3")); // the box being typed in is not rewritten
        QTest::keyClicks(box, "9");
        QCOMPARE(desk.current(), qint64(3));
        QCOMPARE(name->currentText(), QString());
        ModalAnswers answers;
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown()[0].text, QString(subject->numberNotFound));
        QCOMPARE(answers.shown()[0].detail, QString("Hledaný kód: [39]"));
        box->setText("5"); // text written by code does not search
        QCOMPARE(desk.current(), qint64(3));
        // One the filter hides is not found: the code range ticked, then typed as the clerk does.
        Named<QCheckBox>(desk.window(), subject->codeBox)->click();
        for (const auto &[bound, digits] : {std::pair{subject->codeFirst, "1"}, std::pair{subject->codeSecond, "2"}}) {
            auto *edit = Named<QLineEdit>(desk.window(), bound);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, digits);
        }
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "4");
        QCOMPARE(desk.current(), qint64(1));
        QCOMPARE(name->currentText(), QString());
    }

    // An empty list: edit, removal and print only say so; the number box shows 0, the name
    // box nothing, the status bar nothing counted. Print and import/export go to their
    // units, and the status bar counts again after each.
    void emptyList_data()
    {
        QTest::addColumn<const PageSubject *>("subject");
        QTest::addColumn<QList<QStringList>>("bars"); // with no row, one and two
        QTest::newRow("customer") << &Customer
                                  << QList<QStringList>{{" Zákazníků: 0"}, {" Zákazníků: 1"}, {" Zákazníků: 2"}};
        QTest::newRow("video") << &Video
                               << QList<QStringList>{{" Videa: 0", " Celkem: 0,00 Kč"},
                                                     {" Videa: 1", " Celkem: 100,00 Kč"},
                                                     {" Videa: 2", " Celkem: 200,00 Kč"}};
    }
    void emptyList()
    {
        QFETCH(const PageSubject *, subject);
        QFETCH(QList<QStringList>, bars);
        OPEN_TEST_DATABASE_ON(db, Engine::SQLite);
        PageDesk desk(db, subject->page, "sa");
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QCOMPARE(Named<QLineEdit>(desk.window(), subject->numberBox)->text(), QString("0"));
        QCOMPARE(Named<QComboBox>(desk.window(), subject->nameBox)->currentText(), QString());
        QCOMPARE(subject->bar(desk.window()), bars[0]);
        bool printed = false;
        desk.window()->parts().prints[subject->printAction] = [&] { printed = true; };
        ModalAnswers answers;
        for (const char *action : {subject->edit, subject->remove, subject->print})
            desk.action(action)->trigger();
        QCOMPARE(answers.shown().size(), 3);
        for (const ShownWindow &w : answers.shown()) {
            QCOMPARE(w.text, QString(subject->empty));
            QCOMPARE(w.detail, QString("Zkontrolujte zda není aktivní filtr..."));
        }
        QVERIFY(!printed);
        subject->addRow(1, "A");
        desk.window()->SpeedButtonRefreshClick();
        QCOMPARE(subject->bar(desk.window()), bars[1]);
        desk.action(subject->print)->trigger();
        QVERIFY(printed);
        subject->addRow(2, "B");
        desk.window()->parts().importExportWindow = [] { return new QDialog; };
        answers.add(Reject());
        desk.action(subject->exportImport)->trigger();
        QCOMPARE(subject->bar(desk.window()), bars[2]);
    }

    // The clerk's digits replace the proposed number (the lowest free one, 3) instead of
    // following it.
    void proposedNumberTypedOver_data() { AddPageEngineRows(); }
    void proposedNumberTypedOver()
    {
        QFETCH(const PageSubject *, subject);
        OPEN_TEST_DATABASE(db);
        for (qint64 number : {1, 2, 4, 5})
            subject->addRow(number, "X");
        PageDesk desk(db, subject->page, "sa");
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        ModalAnswers answers({OnForm(subject->newForm, [subject](QDialog *f) {
            auto *number = Named<QLineEdit>(f, subject->newNumber);
            QCOMPARE_EQ(number->text(), QString("3"));
            QTest::keyClicks(number, "120");
            QCOMPARE_EQ(number->text(), QString("120"));
            QWidget *name = Named<QLineEdit>(f, subject->newName);
            name->setFocus();
            TypeText(name, "Nový");
            Named<QPushButton>(f, "ButtonOk")->click();
        })});
        PressOn(Named<QWidget>(desk.window(), subject->numberBox), subject->addKey);
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(subject->nameOf(120).toString(), QString("Nový"));
        QCOMPARE(desk.current(), qint64(120));
    }

    // Opened in its number box, the search dialog leaves the box to the clerk: with 2
    // current, "15" finds 15 (not 115 after the start value, nor 215), and Enter makes it
    // current.
    void searchNumberTyped_data() { AddPageEngineRows(); }
    void searchNumberTyped()
    {
        QFETCH(const PageSubject *, subject);
        OPEN_TEST_DATABASE(db);
        for (qint64 number : {1, 2, 15, 115, 215})
            subject->addRow(number, QString::number(number));
        PageDesk desk(db, subject->page, "sa");
        QVERIFY2(desk.isReady(), qPrintable(desk.error()));
        QVERIFY(desk.moveTo(2));
        ModalAnswers answers({OnForm(subject->findForm, [subject](QDialog *f) {
            auto *number = Named<QLineEdit>(f, subject->findNumber);
            QCOMPARE_EQ(f->focusWidget(), static_cast<QWidget *>(number));
            QCOMPARE_EQ(Named<BrowseQuery>(f, subject->findList)->value(0).toLongLong(), qint64(2));
            QTest::keyClicks(number, "15");
            QCOMPARE_EQ(number->text(), QString("15"));
            QVERIFY(Named<QPushButton>(f, "BitBtnSearch")->isEnabled());
            EnterIn(number, subject->edit);
        })});
        desk.action(subject->find)->trigger();
        QCOMPARE(answers.shown().size(), 1);
        QCOMPARE(answers.shown()[0].result, int(QDialog::Accepted));
        QCOMPARE(desk.current(), qint64(15));
    }

private:
    QTemporaryDir m_work;
};

QTEST_MAIN(TestCataloguePages)
#include "tst_cataloguepages.moc"
