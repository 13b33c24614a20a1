#include "core/Grids.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace {

const QString kOrderBy = QStringLiteral("ORDER BY");

bool isTokenStart(QChar c)
{
    return c == u' ' || c == u',' || c == u'(' || c == u'\n' || c == u'\r' || c == u'\t';
}

bool isTokenEnd(QChar c)
{
    return c == u' ' || c == u',' || c == u')' || c == u'\n' || c == u'\r' || c == u'\t';
}

std::function<GridColors()> &colorsProvider()
{
    static std::function<GridColors()> provider;
    return provider;
}

} // namespace

int FindWholeToken(const QString &text, const QString &token, int from)
{
    if (token.isEmpty())
        return -1;
    for (int i = text.indexOf(token, from); i >= 0; i = text.indexOf(token, i + 1)) {
        const int end = i + int(token.size());
        const bool startOk = i == 0 || isTokenStart(text.at(i - 1));
        const bool endOk = end == text.size() || isTokenEnd(text.at(end));
        if (startOk && endOk)
            return i;
    }
    return -1;
}

QString NextQuerySortText(const QString &text, const QString &key)
{
    const int o = text.indexOf(kOrderBy);
    if (o >= 0) {
        const QString before = text.left(o);
        if (FindWholeToken(text, key + QLatin1String(" DESC"), o) >= 0)
            return before;
        if (FindWholeToken(text, QLatin1String("ORDER BY ") + key, o) >= 0)
            return before + QLatin1String("ORDER BY ") + key + QLatin1String(" DESC");
        return before + QLatin1String("ORDER BY ") + key;
    }
    // A statement text ends with a line break; one that does not gets it here, so
    // that the ORDER BY never runs into the last word.
    QString t = text;
    if (!t.isEmpty() && !t.endsWith(u'\n'))
        t += u'\n';
    return t + QLatin1String("ORDER BY ") + key;
}

SortMarker QuerySortMarker(const QString &text, const QString &key)
{
    const int o = text.indexOf(kOrderBy);
    if (o < 0)
        return SortMarker::None;
    if (FindWholeToken(text, key + QLatin1String(" DESC"), o) >= 0)
        return SortMarker::Up;
    if (FindWholeToken(text, QLatin1String("ORDER BY ") + key, o) >= 0)
        return SortMarker::Down;
    return SortMarker::None;
}

QString NextBasketSortText(const QString &sortText, const QString &fieldName)
{
    if (sortText == u'_' + fieldName)
        return fieldName + u'_';
    return u'_' + fieldName;
}

bool BasketSortDescending(const QString &sortText)
{
    return !sortText.startsWith(u'_');
}

QString BasketSortField(const QString &sortText)
{
    if (sortText.startsWith(u'_'))
        return sortText.mid(1);
    if (sortText.endsWith(u'_'))
        return sortText.chopped(1);
    return QString();
}

SortMarker BasketSortMarker(const QString &sortText, const QString &fieldName, SortMarker proposed)
{
    if (sortText == fieldName + u'_')
        return SortMarker::Down;
    if (sortText == u'_' + fieldName)
        return SortMarker::Up;
    return proposed;
}

void SetGridColorsProvider(std::function<GridColors()> provider)
{
    colorsProvider() = std::move(provider);
}

GridColors CurrentGridColors()
{
    return colorsProvider() ? colorsProvider()() : GridColors();
}

void GridCellColor(bool overdue, bool highlighted, QColor &font, QColor &background)
{
    const GridColors colors = CurrentGridColors();
    const QColor state = overdue ? colors.delayed : colors.lent;
    if (highlighted) {
        font = QApplication::palette().color(QPalette::WindowText);
        background = state;
    } else {
        font = state;
    }
}

QRect CheckBoxSquare(const QRect &cell)
{
    // Edges as the grid counts them: right and bottom exclusive.
    const int left = cell.left() + 1;
    const int top = cell.top() + 1;
    const int right = cell.left() + cell.width() - 1;
    const int bottom = cell.top() + cell.height() - 1;
    const int h = bottom - top;
    if (h <= 0 || right <= left)
        return QRect();
    const int squareLeft = (left + right - h) / 2;
    return QRect(squareLeft, top, h, h);
}

void ToggleDefaultButton(QWidget *container)
{
    if (!container)
        return;
    for (QObject *child : container->children()) {
        if (auto *button = qobject_cast<QPushButton *>(child)) {
            button->setDefault(!button->isDefault());
            return;
        }
    }
}

namespace {

// Selects the text of an edit field or a combo box; false for any other control.
bool selectAllText(QWidget *w)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->selectAll();
        return true;
    }
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(w)) {
        spin->selectAll();
        return true;
    }
    if (auto *combo = qobject_cast<QComboBox *>(w)) {
        if (combo->lineEdit())
            combo->lineEdit()->selectAll();
        return true;
    }
    return false;
}

} // namespace

void ActiveControlSelectAll(QWidget *control, QWidget *window)
{
    if (!window)
        window = QApplication::activeWindow();
    QWidget *focused = window ? window->focusWidget() : QApplication::focusWidget();
    if (focused && selectAllText(focused))
        return;
    if (control) {
        control->setFocus();
        selectAllText(control);
    }
}
