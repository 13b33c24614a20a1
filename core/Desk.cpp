#include "core/Desk.h"

#include "core/UValmedo.h"
#include "core/controls/RxDBGridEx.h"

#include <QMenu>
#include <algorithm>

TDesk::TDesk(QWidget *dialogParent)
    : QObject(dialogParent), m_dialogParent(dialogParent)
{
    createPopupMenu();
    connect(this, &TDesk::Changed, this, &TDesk::answer);
}

void TDesk::createPopupMenu()
{
    PopupMenuRxDBGrid = new QMenu(m_dialogParent);
    PopupMenuRxDBGrid->setObjectName(QStringLiteral("PopupMenuRxDBGrid"));
    QMenu *columns = PopupMenuRxDBGrid->addMenu(QStringLiteral("Zobrazit sloupce"));
    columns->setObjectName(QStringLiteral("PopupItemColumns"));
    QAction *space = PopupMenuRxDBGrid->addSeparator();
    space->setObjectName(QStringLiteral("PopupItemSpaceOne"));
    const QList<std::pair<QString, QString>> options = {
        {QStringLiteral("PopupItemRowSelect"), QStringLiteral("Výběr reprezentuje celý řádek")},
        {QStringLiteral("PopupItemRowLines"), QStringLiteral("Zobrazit oddělovací čáry mezi řádky")},
        {QStringLiteral("PopupItemColumnLines"), QStringLiteral("Zobrazit oddělovací čáry mezi sloupci")},
        {QStringLiteral("PopupItemMultiSelect"), QStringLiteral("Vícenásobný výběr")},
    };
    for (const auto &[name, text] : options) {
        QAction *a = PopupMenuRxDBGrid->addAction(text);
        a->setObjectName(name);
        a->setCheckable(true);
    }
}

void TDesk::usePopupMenu(std::initializer_list<TRxDBGridEx *> grids) const
{
    for (TRxDBGridEx *grid : grids)
        grid->SetPopupMenu(PopupMenuRxDBGrid);
}

void TDesk::announce(DeskSubjects subjects, const QVariant &key)
{
    emit Changed(subjects, key);
}

void TDesk::follow(DeskSubject subject, QObject *context, std::function<void(const QVariant &)> answer)
{
    // Kept in the order of the subjects, each subject's answers in the order given.
    const auto after = std::upper_bound(m_answers.begin(), m_answers.end(), subject,
                                        [](DeskSubject s, const Answer &a) { return int(s) < int(a.subject); });
    m_answers.insert(after, Answer{subject, context, std::move(answer)});
}

void TDesk::answer(DeskSubjects subjects, const QVariant &key)
{
    const QList<Answer> answers = m_answers; // an answer may add or drop followers
    for (const Answer &a : answers)
        if (subjects.testFlag(a.subject) && a.context)
            a.run(key);
}

TDesk *MainDesk()
{
    return FormValmedo ? FormValmedo->desk() : nullptr;
}

TCustomerList *MainCustomers()
{
    const TDesk *desk = MainDesk();
    return desk ? desk->customers() : nullptr;
}

TVideoList *MainVideos()
{
    const TDesk *desk = MainDesk();
    return desk ? desk->videos() : nullptr;
}

void UseDeskPopupMenu(std::initializer_list<TRxDBGridEx *> grids)
{
    if (const TDesk *desk = MainDesk())
        desk->usePopupMenu(grids);
}
