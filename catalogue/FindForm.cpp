#include "catalogue/FindForm.h"

#include "core/Desk.h"
#include "core/DialogButton.h"
#include "core/Grids.h"
#include "core/LentLines.h"
#include "core/NamedWidget.h"
#include "core/RunReported.h"
#include "core/controls/GridColumns.h"
#include "core/controls/Int64Edit.h"
#include "core/controls/RxDBGridEx.h"
#include "core/database/BrowseQuery.h"
#include "core/database/DataSetRoutines.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormFind::TFormFind(const QString &objectName, const QString &caption, const QString &countText, QWidget *parent)
    : QDialog(parent), m_countText(countText)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    new QVBoxLayout(this);
}

TFormFind::~TFormFind()
{
    if (m_query)
        m_query->close();
}

void TFormFind::AddFields(const QList<std::pair<const char *, QWidget *>> &fields, QWidget *textField)
{
    auto *grid = new QGridLayout;
    for (int i = 0; i < fields.size(); ++i) {
        auto *caption = new QLabel(QString::fromUtf8(fields[i].first), this);
        caption->setBuddy(fields[i].second);
        grid->addWidget(caption, i / 2, (i % 2) * 2);
        grid->addWidget(fields[i].second, i / 2, (i % 2) * 2 + 1);
        if (i > 0)
            setTabOrder(fields[i - 1].second, fields[i].second);
    }
    static_cast<QVBoxLayout *>(layout())->addLayout(grid);
    m_number = static_cast<TInt64Edit *>(fields.first().second);
    m_textField = textField;
    // The number searches only while the clerk types in it.
    connect(m_number, &QLineEdit::textEdited, this, [this] { RunReported([this] { NumberChange(); }); });
}

TRxDBGridEx *TFormFind::AddList(BrowseQuery *query, const char *gridName, const QList<int> &widths,
                                std::function<std::optional<bool>(qint64 key)> stateOfKey)
{
    m_query = query;
    m_widths = widths;
    Panel = Named<QLabel>(this, "Panel", m_countText.arg(0));
    Panel->setAutoFillBackground(true);
    Panel->setBackgroundRole(QPalette::Highlight);
    Panel->setForegroundRole(QPalette::HighlightedText);
    Panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Panel->setMinimumHeight(20);
    layout()->addWidget(Panel);

    m_grid = Named<TRxDBGridEx>(this, gridName);
    m_grid->SetRowSelect(true);
    m_grid->setModel(query);
    BindQueryGridSort(m_grid);
    UseDeskPopupMenu({m_grid});
    ColorLentRows(m_grid, [query, stateOfKey = std::move(stateOfKey)](int row) -> std::optional<bool> {
        const QVariant key = query->valueAt(row, 0);
        return key.isNull() ? std::nullopt : stateOfKey(key.toLongLong());
    });
    connect(m_grid, &TRxDBGridEx::DblClick, this, [this] { RunReported([this] { ListDblClick(); }); });
    layout()->addWidget(m_grid);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    BitBtnSearch = new TDialogButton(QStringLiteral("Vybrat [Enter]"), this);
    BitBtnSearch->setObjectName(QStringLiteral("BitBtnSearch"));
    BitBtnSearch->setDefault(true);
    BitBtnClose = new TDialogButton(QStringLiteral("Zavřít [Esc]"), this);
    BitBtnClose->setObjectName(QStringLiteral("BitBtnClose"));
    buttons->addWidget(BitBtnSearch);
    buttons->addWidget(BitBtnClose);
    static_cast<QVBoxLayout *>(layout())->addLayout(buttons);
    connect(BitBtnSearch, &QPushButton::clicked, this, [this] {
        RunReported([this] { BitBtnSearchClick(); });
        accept();
    });
    connect(BitBtnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(query, &DataSet::currentRowChanged, this, [this] { RunReported([this] { ListDataChange(); }); });
    return m_grid;
}

void TFormFind::OpenOn(qint64 key)
{
    m_query->open();
    for (int column = 0; column < m_widths.size(); ++column)
        m_grid->setColumnWidth(column, m_widths[column]);
    // Numbers shown whole, titles uncut; the name or the title gives way.
    FitColumns(m_grid, m_query->fieldName(1));
    m_query->locate(m_query->fieldName(0), key);
    ListDataChange();
}

void TFormFind::StartIn(bool textField)
{
    (textField ? m_textField : static_cast<QWidget *>(m_number))->setFocus();
    // The clerk's first digit replaces what the number box holds.
    if (!textField)
        m_number->selectAll();
}

void TFormFind::Reselect(const QStringList &sql, const QVariantMap &parameters)
{
    const QVariant key = m_query->isOpen() ? m_query->value(0) : QVariant();
    m_query->close();
    m_query->setSql(sql);
    for (auto it = parameters.cbegin(); it != parameters.cend(); ++it)
        m_query->setParameter(it.key(), it.value());
    m_query->open();
    if (!key.isNull())
        m_query->locate(m_query->fieldName(0), key);
    BitBtnSearch->setEnabled(!m_query->isEmpty());
}

void TFormFind::ListDataChange()
{
    if (focusWidget() != m_number)
        m_number->SetValue(m_query->value(0).toLongLong());
    Panel->setText(m_countText.arg(m_query->recordCount()));
}

void TFormFind::NumberChange()
{
    BitBtnSearch->setEnabled(LocateExact(*m_query, m_query->fieldName(0), m_number->text()));
}

void TFormFind::ListDblClick()
{
    if (!GridMouseInData(m_grid))
        return;
    BitBtnSearchClick();
    accept();
}
