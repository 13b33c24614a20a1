#pragma once
#include <QString>
#include <stdexcept>

// An error of the database layer: a statement the server refused, a lost connection,
// a parameter name the statement does not hold, a value statement that gave no row.
// The command routines throw it; the transactions and the entry points of actions,
// handlers and timer slots catch it and report it.
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};
