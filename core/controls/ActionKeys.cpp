#include "core/controls/ActionKeys.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace {

bool ActionHolds(const QAction *action, const QKeySequence &key)
{
    if (!action->isEnabled())
        return false;
    for (const QKeySequence &shortcut : action->shortcuts())
        if (shortcut == key)
            return true;
    return false;
}

QAction *WidgetActionFor(const QWidget *widget, const QKeySequence &key)
{
    for (QAction *action : widget->actions())
        if (ActionHolds(action, key))
            return action;
    return nullptr;
}

// Actions the window owns that are put on one of its widgets (a menu, a tool button, a page):
// their window shortcuts fire too.
QAction *OwnedActionFor(const QWidget *window, const QKeySequence &key)
{
    for (QAction *action : window->findChildren<QAction *>()) {
        if (!ActionHolds(action, key))
            continue;
        // As the shortcut map does: a hidden widget's action has no shortcut, a menu's has.
        for (const QObject *object : action->associatedObjects()) {
            const auto *w = qobject_cast<const QWidget *>(object);
            if (w && (w->isVisible() || qobject_cast<const QMenu *>(w)) && w->window() == window)
                return action;
        }
    }
    return nullptr;
}

// The enabled action of the widget's window (or of its parents) with `key` as a shortcut.
QAction *WindowActionFor(const QWidget *widget, const QKeySequence &key)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (QAction *action = WidgetActionFor(w, key))
            return action;
        if (w->isWindow())
            break;
    }
    return OwnedActionFor(widget->window(), key);
}

class ActionKeyFilter : public QObject {
public:
    explicit ActionKeyFilter(QObject *parent) : QObject(parent) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType())
            return RefuseActionKeyOverride(static_cast<QWidget *>(watched), event);
        return false;
    }
};

} // namespace

bool WindowActionHoldsKey(const QWidget *widget, const QKeyEvent *event)
{
    if (!widget)
        return false;
    const QKeySequence exact(event->keyCombination());
    if (WindowActionFor(widget, exact))
        return true;
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const QKeySequence plain(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier,
                                             Qt::Key(event->key())));
    return keypad && WindowActionFor(widget, plain);
}

bool TriggerKeypadAction(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (!(key->modifiers() & Qt::KeypadModifier))
        return false;
    QAction *action = WindowActionFor(static_cast<QWidget *>(receiver), QKeySequence(key->keyCombination()));
    if (!action)
        return false;
    action->trigger();
    return true;
}

bool RefuseActionKeyOverride(const QWidget *widget, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (!WindowActionHoldsKey(widget, key))
        return false;
    key->ignore();
    return true;
}

void PassActionKeys(QWidget *control)
{
    control->installEventFilter(new ActionKeyFilter(control));
}
