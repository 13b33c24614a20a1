#include "core/FormStorage.h"

#include "core/IniFile.h"
#include "core/Messages.h"
#include "core/Texts.h"

#include <QColor>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QWidget>

namespace {

// Longer lists are taken for a damaged file, not read (and not allocated).
constexpr qlonglong MaxListLines = 65536;

enum class Kind { Boolean, Integer, Colour, Text };

// "ListBoxDate.Items" -> control "ListBoxDate", property "Items".
std::pair<QString, QString> SplitStored(const QString &stored)
{
    const qsizetype dot = stored.lastIndexOf(u'.');
    return {stored.left(dot), stored.mid(dot + 1)};
}

QString KeyOf(const QString &stored)
{
    const auto [control, property] = SplitStored(stored);
    return control + u'_' + property;
}

QObject *FindControl(QWidget *form, const QString &name)
{
    if (form->objectName() == name)
        return form;
    return form->findChild<QObject *>(name);
}

bool HasProperty(const QObject *o, const QByteArray &name)
{
    return o->metaObject()->indexOfProperty(name.constData()) >= 0;
}

// The Qt property that holds a stored property of a control; empty when there is none.
QByteArray QtProperty(const QObject *control, const QString &property)
{
    QString own = property;
    if (!own.isEmpty())
        own[0] = own[0].toLower();
    if (HasProperty(control, own.toLatin1()))
        return own.toLatin1();
    static const QList<std::pair<QString, QByteArray>> equivalents = {
        {QStringLiteral("PageIndex"), "currentIndex"},
        {QStringLiteral("Text"), "currentText"},
        {QStringLiteral("ColorValue"), "color"},
    };
    for (const auto &[name, qtName] : equivalents)
        if (property == name && HasProperty(control, qtName))
            return qtName;
    return {};
}

bool IsListWidget(const QObject *control)
{
    return qobject_cast<const QListWidget *>(control) || qobject_cast<const QPlainTextEdit *>(control)
        || qobject_cast<const QTextEdit *>(control);
}

bool IsList(const QObject *control, const QString &property)
{
    if ((property == u"Items" || property == u"Lines") && IsListWidget(control))
        return true;
    const QByteArray name = QtProperty(control, property);
    return !name.isEmpty() && control->property(name).metaType() == QMetaType::fromType<QStringList>();
}

QStringList ReadLines(const QObject *control, const QString &property)
{
    if (auto *list = qobject_cast<const QListWidget *>(control)) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    QString text;
    if (auto *edit = qobject_cast<const QPlainTextEdit *>(control))
        text = edit->toPlainText();
    else if (auto *rich = qobject_cast<const QTextEdit *>(control))
        text = rich->toPlainText();
    else
        return control->property(QtProperty(control, property)).toStringList();
    return MemoLines(text);
}

void WriteLines(QObject *control, const QString &property, const QStringList &lines)
{
    if (auto *list = qobject_cast<QListWidget *>(control)) {
        list->clear();
        list->addItems(lines);
    } else if (auto *edit = qobject_cast<QPlainTextEdit *>(control)) {
        edit->setPlainText(lines.join(u'\n'));
    } else if (auto *rich = qobject_cast<QTextEdit *>(control)) {
        rich->setPlainText(lines.join(u'\n'));
    } else {
        control->setProperty(QtProperty(control, property), lines);
    }
}

Kind KindOf(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return Kind::Boolean;
    case QMetaType::QColor:
        return Kind::Colour;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return Kind::Integer;
    default:
        return Kind::Text;
    }
}

// The colour as the file keeps it: blue * 65536 + green * 256 + red.
qlonglong ColourNumber(const QColor &colour)
{
    return colour.red() + colour.green() * 256 + colour.blue() * 65536;
}

// A property value as it is written into the file (before quoting).
QString ValueText(const QVariant &value)
{
    switch (KindOf(value)) {
    case Kind::Boolean:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Colour:
        return QString::number(ColourNumber(value.value<QColor>()));
    case Kind::Integer:
        return QString::number(value.toLongLong());
    case Kind::Text:
        break;
    }
    return value.toString();
}

// A value whose first and last characters are both a double or both a single quote gets
// one more pair of double quotes, which the reading takes off again.
QString Quoted(const QString &value)
{
    if (!value.isEmpty() && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        return u'"' + value + u'"';
    return value;
}

// Decimal; anything that is not a number reads as 0.
qlonglong NumberOf(const QString &text)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    return ok ? n : 0;
}

QString Numbers(const QList<qlonglong> &numbers)
{
    QStringList texts;
    for (qlonglong n : numbers)
        texts << QString::number(n);
    return texts.join(u',');
}

// "a,b,c,d": four numbers, a missing or bad one taking its default.
QList<qlonglong> FourNumbers(const QString &text, const QList<qlonglong> &defaults)
{
    const QStringList parts = text.split(u',');
    QList<qlonglong> numbers;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const qlonglong n = i < parts.size() ? parts.at(i).trimmed().toLongLong(&ok) : 0;
        numbers << (ok ? n : defaults.at(i));
    }
    return numbers;
}

QScreen *ScreenOf(const QWidget *form)
{
    QScreen *screen = form->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

QString FormStateFileName()
{
    return QDir::current().absoluteFilePath(QStringLiteral("Valmedo4.ini"));
}

TFormStorage::TFormStorage(QWidget *form, const QString &section, const QStringList &storedProps,
                           bool active, bool placement)
    : m_form(form), m_section(section), m_storedProps(storedProps), m_active(active),
      m_placement(placement)
{
    if (m_active)
        form->installEventFilter(this);
}

TFormStorage::~TFormStorage()
{
    if (m_form && m_active && !m_saved)
        autoSave(true);
}

QStringList TFormStorage::storedKeys() const
{
    QStringList keys;
    for (const QString &stored : m_storedProps)
        keys << KeyOf(stored);
    return keys;
}

QStringList TFormStorage::unresolvedProps() const
{
    QStringList names;
    for (const QString &stored : m_storedProps) {
        const auto [name, property] = SplitStored(stored);
        const QObject *control = m_form ? FindControl(m_form, name) : nullptr;
        if (!control || (!IsList(control, property) && QtProperty(control, property).isEmpty()))
            names << stored;
    }
    return names;
}

bool TFormStorage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_form && !event->spontaneous()) {
        if (event->type() == QEvent::Show)
            Restore();
        else if (event->type() == QEvent::Hide)
            autoSave(false); // the window has closed: its own close handler allowed it
    }
    return QObject::eventFilter(watched, event);
}

void TFormStorage::autoSave(bool destroying)
{
    try {
        save(destroying);
    } catch (const EIniFileError &e) {
        // As the application's error report does: the program's own warning window.
        ShowWarning(false, e.message(), QString());
    }
}

void TFormStorage::Save()
{
    save(false);
}

void TFormStorage::save(bool destroying)
{
    if (!m_form || (m_active && !m_restored))
        return;
    IniFile ini(FormStateFileName());
    ini.load(); // the sections of the other windows stay; an unreadable file is not written
    ini.writeString(m_section, QStringLiteral("FormVersion"), QString::number(m_version));
    if (m_placement)
        savePlacement(ini, destroying);
    for (const QString &stored : m_storedProps)
        saveProperty(ini, stored);
    ini.save();
    m_saved = true;
}

void TFormStorage::Restore()
{
    m_saved = false;
    if (m_form) {
        IniFile ini(FormStateFileName());
        ini.load(); // missing or unreadable: every control keeps its value
        if (NumberOf(ini.readString(m_section, QStringLiteral("FormVersion"), QStringLiteral("0")))
            >= m_version) {
            if (m_placement)
                restorePlacement(ini);
            for (const QString &stored : m_storedProps)
                restoreProperty(ini, stored);
        }
    }
    m_restored = true;
}

void TFormStorage::saveProperty(IniFile &ini, const QString &stored) const
{
    const auto [name, property] = SplitStored(stored);
    const QObject *control = FindControl(m_form, name);
    if (!control) {
        qWarning("Form storage %s: no control %s", qPrintable(m_section), qPrintable(name));
        return;
    }
    const QString key = KeyOf(stored);
    if (IsList(control, property)) {
        const QString listSection = m_section + u'.' + key;
        const QStringList lines = ReadLines(control, property);
        ini.eraseSection(listSection);
        if (lines.isEmpty())
            return;
        ini.writeString(listSection, QStringLiteral("Count"), QString::number(lines.size()));
        for (qsizetype i = 0; i < lines.size(); ++i)
            ini.writeString(listSection, QStringLiteral("Item%1").arg(i), Quoted(lines.at(i)));
        return;
    }
    const QByteArray qtName = QtProperty(control, property);
    if (qtName.isEmpty()) {
        qWarning("Form storage %s: no property %s", qPrintable(m_section), qPrintable(stored));
        return;
    }
    ini.writeString(m_section, key, Quoted(ValueText(control->property(qtName)).trimmed()));
}

void TFormStorage::restoreProperty(const IniFile &ini, const QString &stored)
{
    const auto [name, property] = SplitStored(stored);
    QObject *control = FindControl(m_form, name);
    if (!control)
        return;
    const QString key = KeyOf(stored);
    if (IsList(control, property)) {
        const QString listSection = m_section + u'.' + key;
        const qlonglong count = NumberOf(ini.readString(listSection, QStringLiteral("Count"), {}));
        if (count <= 0 || count > MaxListLines)
            return;
        QStringList lines;
        for (qlonglong i = 0; i < count; ++i)
            lines << ini.readString(listSection, QStringLiteral("Item%1").arg(i), {});
        WriteLines(control, property, lines);
        return;
    }
    const QByteArray qtName = QtProperty(control, property);
    if (qtName.isEmpty())
        return;
    const QVariant current = control->property(qtName);
    const QString text = ini.readString(m_section, key, ValueText(current));
    switch (KindOf(current)) {
    case Kind::Boolean:
        if (text.compare(u"True", Qt::CaseInsensitive) == 0)
            control->setProperty(qtName, true);
        else if (text.compare(u"False", Qt::CaseInsensitive) == 0)
            control->setProperty(qtName, false);
        break; // anything else leaves the tick as it is
    case Kind::Integer: {
        const qlonglong n = NumberOf(text);
        const bool fitsInt = n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
        control->setProperty(qtName, current.metaType().id() == QMetaType::Int && !fitsInt
                                         ? QVariant(0) : QVariant(n));
        break;
    }
    case Kind::Colour: {
        const qlonglong n = NumberOf(text);
        if (n >= 0 && n <= 0xFFFFFF)
            control->setProperty(qtName, QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF)));
        break;
    }
    case Kind::Text:
        control->setProperty(qtName, text);
        break;
    }
}

void TFormStorage::savePlacement(IniFile &ini, bool destroying) const
{
    const QScreen *screen = ScreenOf(m_form);
    const QString resolution = QStringLiteral("(%1x%2)")
                                   .arg(screen->geometry().width())
                                   .arg(screen->geometry().height());
    QRect normal = m_form->geometry();
    if ((m_form->isMaximized() || m_form->isFullScreen()) && m_form->normalGeometry().isValid())
        normal = m_form->normalGeometry();
    const int showCmd = m_form->isMinimized() ? 2 : m_form->isMaximized() ? 3 : 1;
    const QString normPos =
        Numbers({normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()});

    const auto put = [&](const QString &key, const QString &value) { ini.writeString(m_section, key, value); };
    put(QStringLiteral("Flags"), m_flags);
    put(QStringLiteral("ShowCmd"), QString::number(showCmd));
    put(QStringLiteral("PixelsPerInch"), QString::number(qRound(screen->logicalDotsPerInch())));
    put(QStringLiteral("MinMaxPos") + resolution, m_minMaxPos);
    put(QStringLiteral("MinMaxPos"), m_minMaxPos);
    put(QStringLiteral("NormPos") + resolution, normPos);
    put(QStringLiteral("NormPos"), normPos);
    put(QStringLiteral("Visible"), destroying ? QStringLiteral("1") : QStringLiteral("0"));
}

void TFormStorage::restorePlacement(const IniFile &ini)
{
    const QScreen *screen = ScreenOf(m_form);
    const QString resolution = QStringLiteral("(%1x%2)")
                                   .arg(screen->geometry().width())
                                   .arg(screen->geometry().height());
    const auto read = [&](const QString &key, const QString &defaultValue) {
        return ini.readString(m_section, key, defaultValue);
    };
    // Under the current resolution first, the plain key when that is empty.
    const auto position = [&](const QString &key) {
        const QString value = read(key + resolution, {});
        return value.isEmpty() ? read(key, {}) : value;
    };

    m_flags = QString::number(NumberOf(read(QStringLiteral("Flags"), m_flags)));
    const QString minMax = position(QStringLiteral("MinMaxPos"));
    const QString norm = position(QStringLiteral("NormPos"));
    if (!minMax.isEmpty())
        m_minMaxPos = Numbers(FourNumbers(minMax, {0, 0, 0, 0}));

    const QRect current = m_form->geometry();
    const QList<qlonglong> n = FourNumbers(norm, {current.left(), current.top(),
                                                  current.left() + current.width(),
                                                  current.top() + current.height()});
    const QString ppiNow = QString::number(qRound(screen->logicalDotsPerInch()));
    const bool samePpi = NumberOf(read(QStringLiteral("PixelsPerInch"), ppiNow)) == NumberOf(ppiNow);
    // A window of no size is not a placement to restore; the window keeps its design.
    if ((!minMax.isEmpty() || !norm.isEmpty()) && samePpi && n[2] > n[0] && n[3] > n[1]) {
        const bool sizeable = m_form->minimumSize() != m_form->maximumSize();
        if (sizeable)
            m_form->setGeometry(int(n[0]), int(n[1]), int(n[2] - n[0]), int(n[3] - n[1]));
        else
            m_form->setGeometry(int(n[0]), int(n[1]), current.width(), current.height());
    }

    Qt::WindowStates state = m_form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    switch (NumberOf(read(QStringLiteral("ShowCmd"), QStringLiteral("0")))) {
    case 2:
    case 6:
    case 7:
        state |= Qt::WindowMinimized;
        break;
    case 3:
        state |= Qt::WindowMaximized;
        break;
    default:
        break;
    }
    m_form->setWindowState(state);
}
