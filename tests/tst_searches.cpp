// The name and title searches of a logged-in desk take the text typed as it is, "%", "_",
// the backslash and the apostrophe too, on both engines: the find boxes of the customer,
// video, lend and return pages, the filter panels' name and title boxes and the search
// dialogs.
#include "catalogue/UCustomerFind.h"
#include "catalogue/UCustomerPage.h"
#include "catalogue/UVideoFind.h"
#include "catalogue/UVideoPage.h"
#include "core/UValmedo.h"
#include "core/controls/FilterPanel.h"
#include "core/controls/FindBoxes.h"
#include "core/database/BrowseQuery.h"
#include "support/CustomerDesk.h"
#include "support/ModalAnswers.h"
#include "support/ShopRows.h"
#include "support/TestDatabase.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {

// Texts with LIKE's pattern characters and an apostrophe, and texts beside them that a
// wildcard or an escape would match in their place; numbered from 1, each is a customer's
// name and first address line and a video's title. No text typed below is a whole one: a
// title box keeps its proposals for a text that is one of them.
const QStringList Texts{QStringLiteral("50% sleva"), QStringLiteral("50 let"), QStringLiteral("a_bc"),
                        QStringLiteral("axbc"),      QStringLiteral("C:\\xy"), QStringLiteral("C:xy"),
                        QStringLiteral("O'Neil"),    QStringLiteral("%_\\' vše")};

void AddShop()
{
    for (qsizetype i = 0; i < Texts.size(); ++i) {
        AddCustomer(ShopCustomer(i + 1, Texts[i], QString(), QString(), 2, QDateTime(), Texts[i]));
        AddVideo(i + 1, Texts[i]);
    }
}

// "box: numbers" of the texts a find box proposes once `typed` is typed into it emptied, on
// its page; a customer's "name / birth number" counts by the name.
QString Proposed(TFormValmedo *window, int page, const char *name, const QString &typed)
{
    window->setPageIndex(page);
    auto *box = window->findChild<TFindComboBox *>(QLatin1String(name));
    if (!box)
        return QStringLiteral("%1: missing").arg(QLatin1String(name));
    box->ClearBox();
    box->setFocus();
    QTest::keyClicks(box->lineEdit(), typed);
    QList<qint64> numbers;
    for (int i = 0; i < box->count(); ++i) {
        QString item = box->itemText(i);
        if (item.endsWith(QLatin1String(" / ")))
            item.chop(3);
        numbers << Texts.indexOf(item) + 1;
    }
    std::sort(numbers.begin(), numbers.end());
    QStringList texts;
    for (qint64 n : numbers)
        texts << QString::number(n);
    return QStringLiteral("%1: %2").arg(QLatin1String(name), texts.join(QLatin1Char(' ')));
}

// The numbers a list shows once `typed` is typed into the emptied edit, in ascending order;
// the edit is emptied again.
QList<qint64> Found(QLineEdit *edit, const BrowseQuery *list, const QString &typed)
{
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, typed);
    QList<qint64> numbers;
    for (int row = 0; row < list->recordCount(); ++row)
        numbers << list->valueAt(row, 0).toLongLong();
    std::sort(numbers.begin(), numbers.end());
    edit->clear();
    return numbers;
}

} // namespace

class TestSearches : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        QDir::setCurrent(m_work.path());
    }
    void cleanupTestCase() { closeDesk(); }

    void typedAsItIs_data()
    {
        QTest::addColumn<Engine>("engine");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<qint64>>("found");
        const struct {
            const char *typed;
            QList<qint64> found;
        } searches[] = {
            {"%_", {8}}, // as wildcards: every text
            {"%_\\'", {8}},
            {"50%", {1}}, // as a wildcard: also "50 let"
            {"a_", {3}},  // as a wildcard: also "axbc"
            {"A_B", {3}},
            {"c:\\", {5}},  // with PostgreSQL's default escape: nothing
            {"c:\\x", {5}}, // with PostgreSQL's default escape: "C:xy"
            {"c:x", {6}},
            {"o'n", {7}},
            {"_", {}},
            {"a%", {}},
            {"\\", {}},
        };
        const std::pair<const char *, Engine> engines[] = {{"sqlite", Engine::SQLite},
                                                           {"postgres", Engine::PostgreSQL}};
        for (const auto &[name, engine] : engines)
            for (const auto &s : searches)
                QTest::addRow("%s-[%s]", name, s.typed) << engine << QString::fromUtf8(s.typed) << s.found;
    }
    void typedAsItIs()
    {
        QFETCH(Engine, engine);
        QFETCH(QString, typed);
        QFETCH(QList<qint64>, found);
        // The rows only read: one desk per engine serves them all.
        if (!m_desk || m_db->engine() != engine) {
            closeDesk();
            m_db = std::make_unique<TestDatabase>(engine);
            QVERIFY2(m_db->isReady(), qPrintable(m_db->error()));
            AddShop();
            m_desk = std::make_unique<CustomerDesk>(*m_db);
            QVERIFY2(m_desk->isReady(), qPrintable(m_desk->error()));
        }
        TFormValmedo *window = m_desk->window();

        const std::pair<int, const char *> boxes[] = {
            {TFormValmedo::PageCustomer, "ComboBoxCustomerName"}, {TFormValmedo::PageLend, "ComboBoxLendName"},
            {TFormValmedo::PageBack, "ComboBoxBackName"},         {TFormValmedo::PageVideo, "ComboBoxVideoTitle"},
            {TFormValmedo::PageLend, "ComboBoxLendTitle"},        {TFormValmedo::PageBack, "ComboBoxBackTitle"},
        };
        QStringList proposed;
        QStringList expected;
        QStringList numbers;
        for (qint64 n : found)
            numbers << QString::number(n);
        for (const auto &[page, box] : boxes) {
            proposed << Proposed(window, page, box, typed);
            expected << QStringLiteral("%1: %2").arg(QLatin1String(box), numbers.join(QLatin1Char(' ')));
        }
        QCOMPARE(proposed, expected);

        TCustomerPage *customers = window->customerPage();
        window->setPageIndex(TFormValmedo::PageCustomer);
        customers->FilterPanel->Open();
        QTest::mouseClick(customers->CheckBoxCustomerName, Qt::LeftButton);
        QCOMPARE(Found(customers->EditCustomerName, customers->ADOQueryCustomer, typed), found);
        customers->ButtonCustomerReset->click();
        ModalAnswers answers({On<TFormCustomerFind>([&](TFormCustomerFind *f) {
            QCOMPARE_EQ(Found(f->EditName, f->ADOQueryCustomerFind, typed), found);
            QCOMPARE_EQ(Found(f->EditAddress, f->ADOQueryCustomerFind, typed), found);
        })});
        m_desk->action("ActionCustomerFind")->trigger();

        TVideoPage *videos = window->videoPage();
        window->setPageIndex(TFormValmedo::PageVideo);
        videos->FilterPanel->Open();
        QTest::mouseClick(videos->CheckBoxVideoTitle, Qt::LeftButton);
        QCOMPARE(Found(videos->EditVideoTitle, videos->ADOQueryVideo, typed), found);
        videos->ButtonVideoReset->click();
        answers.add(On<TFormVideoFind>([&](TFormVideoFind *f) {
            QCOMPARE_EQ(Found(f->EditTitle, f->ADOQueryVideoFind, typed), found);
        }));
        m_desk->action("ActionVideoFind")->trigger();
        QCOMPARE(answers.shown().size(), 2);
    }

private:
    void closeDesk()
    {
        m_desk.reset();
        m_db.reset();
    }

    QTemporaryDir m_work;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<CustomerDesk> m_desk;
};

QTEST_MAIN(TestSearches)
#include "tst_searches.moc"
