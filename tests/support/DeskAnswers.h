#pragma once
#include "support/ModalAnswers.h"

#include <QList>
#include <QString>
#include <functional>
#include <utility>

class QDialog;
class QWidget;
class TFormBack;
class TFormLend;
struct MediumValues;

// Answers to the program's own windows, given as the clerk gives them.

// Fills the login dialog and presses Ok.
Answer Login(const QString &user, const QString &password, const QString &server);

// Lets the progress window of the spreadsheet exchange run its work to the end; `during`
// runs first.
Answer RunProgress(std::function<void(QDialog *)> during = {});

// The lend dialog driven by `drive` once it is up and active; its result is what the keys
// left it with (a dialog left open is cancelled).
Answer LendDialog(std::function<void(TFormLend *form)> drive);
// A key to the window's focused control (to the window when none has the focus).
void KeyTo(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Scans a code into the lend dialog's code box.
void Scan(TFormLend *form, const char *code);

// The return dialog: `look` sees it once it is up and active, then the keys go to its code box.
using KeyPress = std::pair<Qt::Key, Qt::KeyboardModifiers>;
Answer BackDialog(std::function<void(TFormBack *form)> look, QList<KeyPress> keys);

// Fills the new or edit dialog of a medium and presses Ok.
Answer MediumDialog(const MediumValues &values);
// Fills the new or edit dialog of a genre and presses Ok.
Answer DirectionDialog(const QString &name);
