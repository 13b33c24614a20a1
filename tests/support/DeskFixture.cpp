#include "support/DeskFixture.h"

#include "catalogue/UCustomerPage.h"
#include "core/Desk.h"
#include "core/USetupPrint.h"
#include "core/USetupVideo.h"
#include "core/UValmedo.h"
#include "core/controls/GridDrag.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "rental/DeskHooks.h"
#include "support/Clerk.h"
#include "support/ModalAnswers.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

void RecordedDeskHooks::install()
{
    // The journal answers the same changes; these answers end with the main window.
    TDesk *desk = MainDesk();
    desk->follow(DeskSubject::Document, desk, [this](const QVariant &document) {
        if (!document.isNull())
            journal << document;
    });
    desk->follow(DeskSubject::JournalLast, desk, [this](const QVariant &) { journal << QVariant(); });
    FormValmedo->parts().receiptPrint = [this](qint64 document, bool copy) { receipts << std::pair{document, copy}; };
}

DeskFixture::DeskFixture(Engine engine, const std::function<void()> &addShop, RecordedDeskHooks *hooks,
                         const std::function<void()> &afterLogIn)
    : db(engine)
{
    if (!db.isReady())
        return;
    addShop();
    desk = std::make_unique<LoggedInDesk>(db);
    if (!desk->isReady())
        return;
    if (hooks)
        hooks->install();
    FormSetupVideo->CheckBoxSa->setChecked(true);
    FormSetupVideo->CheckBoxSu->setChecked(true);
    FormSetupVideo->CheckBoxCash->setChecked(false);
    FormSetupPrint->CheckBoxOriginal->setChecked(true);
    FormSetupPrint->CheckBoxCopy->setChecked(false);
    afterLogIn();
    activate();
}

QString DeskFixture::error() const
{
    return db.isReady() ? (desk ? desk->error() : QString()) : db.error();
}

TCustomerPage *DeskFixture::customers() const
{
    return window()->customerPage();
}

qint64 DeskFixture::currentCustomer() const
{
    return customers()->ADOQueryCustomer->value(0).toLongLong();
}

void DeskFixture::activate() const
{
    window()->activateWindow();
    static_cast<void>(QTest::qWaitForWindowActive(window()));
}

void DeskFixture::type(QWidget *box, const QString &text) const
{
    TypeOver(box, text);
}

void DeskFixture::key(Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    KeyToDesk(key, modifiers);
}

QStringList SelfClosedMessages(const ModalAnswers &answers)
{
    QStringList texts;
    for (const ShownWindow &w : answers.shown())
        if (w.className == QLatin1String("TFormInformation") && !w.modal)
            texts << w.text + QStringLiteral(" / ") + w.detail;
    return texts;
}

bool DropGridRow(TRxDBGridEx *from, TRxDBGridEx *onto, QPoint at)
{
    std::unique_ptr<QMimeData> data(GridRowData(from));
    QCursor::setPos(onto->viewport()->mapToGlobal(at));
    QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto->viewport(), &enter);
    QDropEvent dropped(QPointF(at), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(onto->viewport(), &dropped);
    const bool accepted = enter.isAccepted() && dropped.isAccepted();
    QCoreApplication::processEvents(); // the drop acts once the drag has ended
    return accepted;
}
