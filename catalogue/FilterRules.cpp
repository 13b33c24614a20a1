#include "catalogue/FilterRules.h"

#include "core/Texts.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

namespace {

enum class Kind { Word, QuotedName, Text, Number, Operator, Open, Close, Comma, Dot };

struct Token {
    Kind kind;
    QString text; // a quoted name or a text without its quotes
};

// The shop's tables and the columns a filter may read, in upper case. Of the users'
// table only the names: its passwords and rights stay out of every text.
const QHash<QString, QSet<QString>> &shopTables()
{
    static const QHash<QString, QSet<QString>> tables = {
        {QStringLiteral("TAB_ZAKAZNIK"),
         {"ZAKAZNIK", "JMENO", "TELEFON", "ADRESA1", "ADRESA2", "RC", "OP", "REGISTRACE", "OMEZENI", "PUJCKY", "TEXT"}},
        {QStringLiteral("TAB_ZAMERENI"), {"ID_ZAMERENI", "ZAMERENI", "VYCHOZI"}},
        {QStringLiteral("TAB_NOSIC"), {"ID_NOSIC", "NOSIC", "DABING", "PUJCOVNE", "VRATNE", "ZALOHA", "VYCHOZI"}},
        {QStringLiteral("TAB_VIDEO"), {"VIDEO", "TITUL", "ZAMERENI", "NOSIC", "CENA", "REGISTRACE", "VYPUJCENA"}},
        {QStringLiteral("TAB_UZIVATEL"), {"ID_UZIVATEL", "UZIVATEL"}},
        {QStringLiteral("TAB_PUJCKY"), {"DOKLAD", "OPERACE", "CAS", "ZAKAZNIK", "UZIVATEL"}},
        {QStringLiteral("TAB_PUJCKYDETAIL"),
         {"DOKLAD_PUJ", "DOKLAD_VRA", "VIDEO", "ZAKAZNIK", "PUJCENA", "HISTORIE", "DOKLAD", "ZDARMA", "PUJCOVNE",
          "VRATNE", "ZALOHA", "PUJCENO", "VRATIT", "DNY", "VRACENO", "PRES"}},
    };
    return tables;
}

const QString UsersTable = QStringLiteral("TAB_UZIVATEL");

const QSet<QString> &allColumns()
{
    static const QSet<QString> columns = [] {
        QSet<QString> all;
        for (const QSet<QString> &table : shopTables())
            all.unite(table);
        return all;
    }();
    return columns;
}

// Refused wherever they stand, as a column, an alias or quoted.
const QSet<QString> RefusedNames = {"HESLO",         "ZAKAZNIK_EDITACE", "ZAKAZNIK_HISTORIE", "ZAKAZNIK_ODEBRAT",
                                    "VIDEO_EDITACE", "VIDEO_HISTORIE",   "VIDEO_ODEBRAT",     "NASTAVENI",
                                    "SPECIAL",       "ADMIN"};

const QSet<QString> Keywords = {"WHERE", "AND",  "OR",       "NOT",  "LIKE",  "ESCAPE", "IN",    "BETWEEN",
                                "IS",    "NULL", "EXISTS",   "SELECT", "FROM", "JOIN",  "LEFT",  "INNER",
                                "OUTER", "ON",   "AS",       "DISTINCT", "CASE", "WHEN", "THEN",  "ELSE",
                                "END",   "GROUP", "BY",      "HAVING", "ORDER", "ASC",   "DESC"};

// Functions both engines have and read alike.
const QSet<QString> Functions = {"UPPER", "LOWER", "LENGTH", "SUBSTR", "TRIM", "COALESCE",
                                 "ABS",   "ROUND", "COUNT",  "SUM",    "MIN",  "MAX"};

bool isNameStart(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isNameChar(QChar c)
{
    return isNameStart(c) || isDigit(c);
}

struct Lexed {
    QList<Token> tokens;
    QString refused; // the piece the lexer stopped at, empty when it read the whole text
};

// The text as tokens of the subset both engines read alike. Outside quotes only blanks
// and line breaks separate them: every other character is a token or refused.
Lexed lex(const QString &s)
{
    Lexed out;
    const qsizetype n = s.size();
    qsizetype i = 0;
    bool spaced = true;
    auto add = [&](Kind kind, const QString &text, qsizetype length) {
        out.tokens.append({kind, text});
        i += length;
        spaced = false;
    };
    while (i < n && out.refused.isEmpty()) {
        const QChar c = s.at(i);
        const QString two = s.mid(i, 2);
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            spaced = true;
            ++i;
        } else if (c == u'\'' || c == u'"') {
            // A doubled quote stands for itself; nothing else is special inside.
            QString text;
            qsizetype j = i + 1;
            for (; j < n; ++j) {
                if (s.at(j) == c) {
                    if (j + 1 < n && s.at(j + 1) == c)
                        ++j;
                    else
                        break;
                }
                text += s.at(j);
            }
            if (j >= n || (c == u'"' && text.isEmpty()))
                out.refused = c;
            else
                add(c == u'\'' ? Kind::Text : Kind::QuotedName, text, j + 1 - i);
        } else if (isNameStart(c)) {
            qsizetype j = i;
            while (j < n && isNameChar(s.at(j)))
                ++j;
            add(Kind::Word, s.mid(i, j - i), j - i);
        } else if (isDigit(c)) {
            qsizetype j = i;
            while (j < n && isDigit(s.at(j)))
                ++j;
            if (j + 1 < n && s.at(j) == u'.' && isDigit(s.at(j + 1))) {
                ++j;
                while (j < n && isDigit(s.at(j)))
                    ++j;
            }
            // 1e5, 0x1F, 1.: read differently by the engines, or not a number
            if (j < n && (isNameChar(s.at(j)) || s.at(j) == u'.'))
                out.refused = s.mid(i, j + 1 - i);
            else
                add(Kind::Number, s.mid(i, j - i), j - i);
        } else if (c == u'(') {
            add(Kind::Open, c, 1);
        } else if (c == u')') {
            add(Kind::Close, c, 1);
        } else if (c == u',') {
            add(Kind::Comma, c, 1);
        } else if (c == u'.') {
            add(Kind::Dot, c, 1);
        } else if (two == QLatin1String("--") || two == QLatin1String("/*")) {
            out.refused = two; // a comment hides what follows from this check
        } else {
            QString op;
            for (const char *pair : {"<=", ">=", "<>", "!=", "||"})
                if (two == QLatin1String(pair))
                    op = two;
            if (op.isEmpty() && QStringLiteral("=<>+-*/%").contains(c))
                op = c;
            const bool afterOperator = !spaced && !out.tokens.isEmpty() && out.tokens.last().kind == Kind::Operator;
            if (op.isEmpty())
                out.refused = c.isHighSurrogate() ? two : QString(c);
            // "==", "->", "<<", "!==": operators an engine reads as one, but for a sign
            else if (afterOperator && op != u'+' && op != u'-')
                out.refused = out.tokens.last().text + op;
            else
                add(Kind::Operator, op, op.size());
        }
    }
    return out;
}

// The check of the tokens: what each name is by where it stands. `aliases` are the
// names the text gives its tables and subselects (null: any name may be one); the run
// collects them in `given`.
QString checkTokens(const QList<Token> &t, const QSet<QString> *aliases, QSet<QString> &given, bool whole)
{
    const auto alias = [aliases](const QString &up) { return !aliases || aliases->contains(up); };
    struct Level {
        bool fromList = false; // after FROM, a comma brings the next table
        bool derived = false;  // a subselect in place of a table, an alias may follow
    };
    QList<Level> levels{Level{}};
    bool expectTable = false;
    bool afterTable = false;
    const auto named = [](const Token *k) { return k && (k->kind == Kind::Word || k->kind == Kind::QuotedName); };
    const auto keyword = [](const Token *k) { return k && k->kind == Kind::Word && Keywords.contains(k->text.toUpper()); };
    for (qsizetype i = 0; i < t.size(); ++i) {
        const Token &k = t.at(i);
        const Token *next = i + 1 < t.size() ? &t.at(i + 1) : nullptr;
        const QString up = k.text.toUpper();
        if (named(&k) && RefusedNames.contains(up))
            return k.text;
        if (expectTable) {
            expectTable = false;
            if (k.kind == Kind::Open) {
                if (!next || next->kind != Kind::Word || next->text.toUpper() != QLatin1String("SELECT"))
                    return k.text;
                levels.append(Level{false, true});
                continue;
            }
            if (!named(&k) || !shopTables().contains(up) || up == UsersTable)
                return k.text;
            afterTable = true;
            continue;
        }
        if (afterTable) {
            afterTable = false;
            if (named(&k) && !keyword(&k)) {
                given << up;
                continue;
            }
        }
        switch (k.kind) {
        case Kind::Word:
            if (keyword(&k)) {
                if (up == QLatin1String("AS")) {
                    if (!named(next) || keyword(next) || RefusedNames.contains(next->text.toUpper()))
                        return next ? next->text : k.text;
                    given << next->text.toUpper();
                    ++i;
                } else if (up == QLatin1String("FROM")) {
                    levels.last().fromList = true;
                    expectTable = true;
                } else if (up == QLatin1String("JOIN")) {
                    expectTable = true;
                } else if (QSet<QString>{"WHERE", "ON", "GROUP", "HAVING", "ORDER"}.contains(up)) {
                    levels.last().fromList = false;
                }
                continue;
            }
            if (next && next->kind == Kind::Open) {
                if (!Functions.contains(up))
                    return k.text;
                continue;
            }
            [[fallthrough]];
        case Kind::QuotedName:
            if (next && next->kind == Kind::Open)
                return k.text;
            if (next && next->kind == Kind::Dot) {
                // A table or an alias, then one of the columns.
                const Token *column = i + 2 < t.size() ? &t.at(i + 2) : nullptr;
                const auto table = shopTables().constFind(up);
                if (table == shopTables().constEnd() && !alias(up))
                    return k.text;
                if (!named(column))
                    return column ? column->text : next->text;
                const QString columnUp = column->text.toUpper();
                const bool known = (table != shopTables().constEnd() && table->contains(columnUp))
                    || (alias(up) && allColumns().contains(columnUp));
                if (!known || RefusedNames.contains(columnUp))
                    return column->text;
                const Token *after = i + 3 < t.size() ? &t.at(i + 3) : nullptr;
                if (after && (after->kind == Kind::Open || after->kind == Kind::Dot))
                    return after->text;
                i += 2;
                continue;
            }
            // Alone, a name is a column: a table or an alias would be a whole row.
            if (!allColumns().contains(up))
                return k.text;
            continue;
        case Kind::Text:
            // After a name or a value a text would be a typed or an escaped one (TEXT '…',
            // E'…'), or glued to the text before it.
            if (i > 0) {
                const Token &before = t.at(i - 1);
                if (before.kind == Kind::Text || before.kind == Kind::Number || before.kind == Kind::Close
                    || before.kind == Kind::Dot || (named(&before) && !keyword(&before)))
                    return QLatin1Char('\'') + k.text + QLatin1Char('\'');
            }
            continue;
        case Kind::Number:
        case Kind::Operator:
            continue;
        case Kind::Comma:
            expectTable = levels.last().fromList;
            continue;
        case Kind::Open:
            levels.append(Level{});
            continue;
        case Kind::Close:
            if (levels.size() == 1)
                return k.text;
            if (levels.takeLast().derived)
                afterTable = true;
            continue;
        case Kind::Dot:
            return k.text;
        }
    }
    if (whole && levels.size() > 1)
        return QStringLiteral("(");
    return {};
}

} // namespace

QString RefusedFilterWord(const QString &where)
{
    const Lexed lexed = lex(where);
    const bool whole = lexed.refused.isEmpty();
    // The aliases first, as a name may stand before the alias is given (SELECT d.VIDEO FROM
    // tab_pujckydetail d); then the check that knows them.
    QSet<QString> aliases;
    QSet<QString> unused;
    checkTokens(lexed.tokens, nullptr, aliases, whole);
    const QString refused = checkTokens(lexed.tokens, &aliases, unused, whole);
    return refused.isEmpty() ? lexed.refused : refused;
}

QByteArray FilterFileBytes(const QString &memoText)
{
    QByteArray bytes;
    for (const QString &line : MemoLines(memoText)) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QString FilterFileText(const QByteArray &bytes)
{
    QString text = DecodeText(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return FilterWherePart(text);
}

QString FilterWherePart(const QString &memoText)
{
    QString where;
    for (const QString &line : MemoLines(memoText))
        where += line + QLatin1Char('\n');
    return where;
}
