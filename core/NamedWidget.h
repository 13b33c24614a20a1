#pragma once
#include "core/DialogButton.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <type_traits>

// A new control of type T on `parent` with the objectName `name` (the name the form storage
// and the tests find it by) and, for a button or a label, the text `text`. A push button
// is a TDialogButton: never the default by itself, pressed by Enter when it has the focus.
template <class T> T *Named(QWidget *parent, const char *name, const QString &text = QString())
{
    T *w = nullptr;
    if constexpr (std::is_same_v<T, QPushButton>)
        w = new TDialogButton(parent);
    else
        w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    if constexpr (std::is_base_of_v<QAbstractButton, T> || std::is_base_of_v<QLabel, T>)
        w->setText(text);
    if constexpr (std::is_base_of_v<QPushButton, T>)
        w->setAutoDefault(false);
    return w;
}
