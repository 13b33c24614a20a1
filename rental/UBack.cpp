#include "rental/UBack.h"

#include "core/Messages.h"
#include "core/NamedWidget.h"
#include "core/RunGlobals.h"
#include "core/RunReported.h"
#include "core/controls/Int64Edit.h"
#include "core/database/DataSetRoutines.h"
#include "core/database/Lookups.h"
#include "rental/BackBasket.h"
#include "rental/Basket.h"
#include "rental/RentalSettings.h"

#include <QAction>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWheelEvent>

bool BackVideoFound = false;
int BackWheelCounter = 0;

namespace {

const QString Video = QStringLiteral("VIDEO");
constexpr int WheelStep = 120;

qint64 CurrentVideo(const DataSet &data)
{
    return data.currentRow() < 0 ? 0 : data.value(Video).toLongLong();
}

} // namespace

void AddBackItem(TTableBack &basket, const DataSet &lentVideos)
{
    if (lentVideos.currentRow() < 0 || CurrentVideo(lentVideos) == basket.currentVideo())
        return;
    basket.appendLentLine(lentVideos, lentVideos.currentRow(), CurrentRentalSettings(), RunDate(), Now());
    ResortBasket(basket);
}

void DeleteBackItem(TTableBack &basket)
{
    if (basket.currentRow() >= 0)
        basket.deleteRecord();
}

TFormBack::TFormBack(TTableBack &basket, DataSet &lentVideos, qint64 customer, QWidget *parent)
    : QDialog(parent), m_basket(basket), m_lentVideos(lentVideos), m_customer(customer)
{
    setObjectName(QStringLiteral("FormBack"));
    setWindowTitle(QStringLiteral(" Vracení"));
    setFixedSize(412, 163);
    new QGridLayout(this);
    createCodeBox();
    createActions();
    createButtons();
}

void TFormBack::createCodeBox()
{
    auto *grid = static_cast<QGridLayout *>(layout());
    QFont large = font();
    large.setPixelSize(16);
    large.setBold(true);
    LabelGoods = Named<QLabel>(this, "LabelGoods", QStringLiteral("Kód:"));
    LabelGoods->setFont(large);
    grid->addWidget(LabelGoods, 0, 0);
    Int64EditVideo = Named<TInt64Edit>(this, "Int64EditVideo");
    Int64EditVideo->SetMax(9999999999999LL);
    Int64EditVideo->SetValue(0);
    Int64EditVideo->setFont(large);
    Int64EditVideo->setMinimumHeight(30);
    Int64EditVideo->installEventFilter(this);
    connect(Int64EditVideo, &QLineEdit::textChanged, this, [this] {
        if (m_changeAttached)
            RunReported([this] { Int64EditVideoChange(); });
    });
    grid->addWidget(Int64EditVideo, 0, 1, 1, 2);
    // Three button columns of one width under and beside the code box.
    for (int column = 1; column <= 3; ++column)
        grid->setColumnStretch(column, 1);
}

QAction *TFormBack::addKeyAction(const char *name, const QList<QKeySequence> &keys,
                                 void (TFormBack::*handler)())
{
    auto *action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    addAction(action); // the keys act whatever control has the focus
    connect(action, &QAction::triggered, this, [this, handler] { RunReported([this, handler] { (this->*handler)(); }); });
    return action;
}

void TFormBack::createActions()
{
    ActionSelect = addKeyAction("ActionSelect", {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
                                &TFormBack::ActionSelectExecute);
    ActionSelectAll = addKeyAction("ActionSelectAll", {QKeySequence(Qt::Key_Space)}, &TFormBack::ActionSelectAllExecute);
    // The numeric "+" only: the "+" of the number row is a digit to a barcode reader.
    ActionBack = addKeyAction("ActionBack", {QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)},
                              &TFormBack::ActionBackExecute);
    ActionDelete = addKeyAction("ActionDelete", {QKeySequence(Qt::Key_Delete)}, &TFormBack::ActionDeleteExecute);
    ActionUp = addKeyAction("ActionUp", {QKeySequence(Qt::Key_Up)}, &TFormBack::ActionUpExecute);
    ActionDown = addKeyAction("ActionDown", {QKeySequence(Qt::Key_Down)}, &TFormBack::ActionDownExecute);
}

void TFormBack::createButtons()
{
    auto *grid = static_cast<QGridLayout *>(layout());
    auto button = [this, grid](const char *name, const QString &text, QAction *action, int row, int column) {
        auto *b = Named<QPushButton>(this, name, text);
        // Scanning goes on in the code box: a click leaves the focus there.
        b->setFocusPolicy(Qt::NoFocus);
        b->setMinimumHeight(30);
        if (action) {
            connect(b, &QPushButton::clicked, action, &QAction::trigger);
            connect(action, &QAction::changed, b, [b, action] { b->setEnabled(action->isEnabled()); });
        }
        grid->addWidget(b, row, column);
        return b;
    };
    SpeedButtonSelect = button("SpeedButtonSelect", QStringLiteral("Vybrat [Enter]"), ActionSelect, 0, 3);
    BitBtnSelectAll = button("BitBtnSelectAll", QStringLiteral("Vybrat vše [Space]"), ActionSelectAll, 1, 1);
    BitBtnDelete = button("BitBtnDelete", QStringLiteral("Odebrat [Del]"), ActionDelete, 1, 2);
    BitBtnBack = button("BitBtnBack", QStringLiteral("Vrátit [+]"), ActionBack, 2, 1);
    BitBtnCancel = button("BitBtnCancel", QStringLiteral("Zavřít [Esc]"), nullptr, 2, 3);
    connect(BitBtnCancel, &QPushButton::clicked, this, &QDialog::reject); // Esc too
}

void TFormBack::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center().x() - width() / 2, 192);
    RunReported([this] { FormShow(); });
    RunReported([this] { FormActivate(); });
}

void TFormBack::FormShow()
{
    Int64EditVideo->setFocus();
    selectCode();
    EnableButtons();
}

void TFormBack::FormActivate()
{
    // Once: later activations (after a message window) add nothing.
    if (!m_activatePending)
        return;
    m_activatePending = false;
    ActionSelectExecute();
}

bool TFormBack::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Int64EditVideo) {
        // The change handler runs while the box has the focus; a message window in front
        // of the dialog does not take it away.
        if (event->type() == QEvent::FocusIn) {
            m_changeAttached = true;
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_changeAttached = false;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormBack::Int64EditVideoChange()
{
    const QString text = Int64EditVideo->text();
    BackVideoFound = LocateExact(m_lentVideos, Video, text);
    if (BackVideoFound)
        LocateExact(m_basket, Video, text); // onto its line when it is in the basket already
}

void TFormBack::ActionSelectExecute()
{
    if (BackVideoFound) {
        AddBackItem(m_basket, m_lentVideos);
        emit BasketChanged();
    } else if (!Int64EditVideo->text().isEmpty()) {
        const qint64 code = Int64EditVideo->Value();
        // The list may be older than the database: a video the customer has out after all
        // is not reported.
        if (!CustomerHasVideo(m_customer, code)) {
            const QString detail = QStringLiteral("Hledaný kód: [%1]").arg(code);
            if (VideoExists(code))
                ShowInformation(QStringLiteral("Toto video zákazník nemá půjčené..."), detail, true, Int64EditVideo);
            else
                ShowInformation(QStringLiteral("Hledaný kód videa nenalezen..."), detail, true, Int64EditVideo);
        }
    }
    selectCode();
    EnableButtons();
}

void TFormBack::ActionSelectAllExecute()
{
    // The customer's lent videos in the list's order, each back now with its own days over.
    m_basket.emptyTable();
    const RentalSettings settings = CurrentRentalSettings();
    for (int row = 0; row < m_lentVideos.recordCount(); ++row)
        m_basket.appendLentLine(m_lentVideos, row, settings, RunDate(), Now());
    showVideo(m_basket.currentVideo());
    emit BasketChanged();
    selectCode();
    EnableButtons();
}

void TFormBack::ActionBackExecute()
{
    if (!m_basket.isEmpty())
        accept();
}

void TFormBack::ActionDeleteExecute()
{
    DeleteBackItem(m_basket);
    emit BasketChanged();
    if (m_basket.isEmpty()) {
        showVideo(CurrentVideo(m_lentVideos));
    } else {
        m_lentVideos.locate(Video, m_basket.currentVideo());
        showVideo(m_basket.currentVideo());
    }
    selectCode();
    EnableButtons();
}

void TFormBack::ActionUpExecute()
{
    walkBasket(&DataSet::prior);
}

void TFormBack::ActionDownExecute()
{
    walkBasket(&DataSet::next);
}

void TFormBack::walkBasket(void (DataSet::*move)())
{
    if (m_basket.isEmpty())
        return;
    (m_basket.*move)();
    m_lentVideos.locate(Video, m_basket.currentVideo());
    showVideo(m_basket.currentVideo());
    selectCode();
}

void TFormBack::wheelEvent(QWheelEvent *event)
{
    // A notification is a whole step of 120; finer wheels send it in parts.
    m_wheelRest += event->angleDelta().y();
    while (qAbs(m_wheelRest) >= WheelStep) {
        const int step = m_wheelRest > 0 ? WheelStep : -WheelStep;
        m_wheelRest -= step;
        RunReported([this, step] { FormMouseWheel(step); });
    }
    event->ignore();
}

void TFormBack::FormMouseWheel(int wheelDelta)
{
    if (BackWheelCounter != 1) {
        ++BackWheelCounter;
        return;
    }
    BackWheelCounter = 0;
    // Away from the user (a positive delta) moves towards the first row. The wheel only
    // shows a video; Enter adds it.
    if (!m_lentVideos.isEmpty()) {
        const int row = qBound(0, m_lentVideos.currentRow() - wheelDelta / WheelStep, m_lentVideos.recordCount() - 1);
        m_lentVideos.moveTo(row);
    }
    showVideo(CurrentVideo(m_lentVideos));
    selectCode();
}

void TFormBack::EnableButtons()
{
    const bool lines = !m_basket.isEmpty();
    ActionBack->setEnabled(lines);
    ActionDelete->setEnabled(lines);
}

void TFormBack::showVideo(qint64 video)
{
    Int64EditVideo->SetValue(video);
}

void TFormBack::selectCode()
{
    Int64EditVideo->selectAll();
}
