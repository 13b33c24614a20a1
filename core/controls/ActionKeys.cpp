#include "core/controls/ActionKeys.h"

#include <QAction>
#include <QCoreApplication>
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

QAction *WidgetActionOf(const QWidget *widget, const QKeySequence &key)
{
    for (QAction *action : widget->actions())
        if (ActionHolds(action, key))
            return action;
    return nullptr;
}

// Actions the window owns that are put on one of its widgets (a menu, a tool button, a page):
// their window shortcuts fire too.
QAction *OwnedActionOf(const QWidget *window, const QKeySequence &key)
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

QAction *WindowActionOf(const QWidget *widget, const QKeySequence &key)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (QAction *action = WidgetActionOf(w, key))
            return action;
        if (w->isWindow())
            break;
    }
    return OwnedActionOf(widget->window(), key);
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

class KeypadActionFilter : public QObject {
public:
    explicit KeypadActionFilter(QObject *parent) : QObject(parent)
    {
        setObjectName(QStringLiteral("KeypadActionFilter"));
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (!(key->modifiers() & Qt::KeypadModifier))
            return false;
        if (event->type() == QEvent::KeyPress) {
            // The press of a key whose action has fired already.
            if (m_fired > 0 && key->keyCombination() == m_key) {
                --m_fired;
                return true;
            }
            return false;
        }
        if (!watched->isWidgetType())
            return false;
        QAction *action = WindowActionOfKey(static_cast<QWidget *>(watched), key);
        if (!action)
            return false;
        // Counted before it fires: the action may run a window of its own, in which the
        // same key fires again before this press arrives.
        m_key = key->keyCombination();
        ++m_fired;
        event->accept();
        action->trigger();
        return true;
    }

private:
    QKeyCombination m_key;
    int m_fired = 0;
};

} // namespace

void InstallKeypadActionKeys(QCoreApplication *application)
{
    if (!application->findChild<QObject *>(QStringLiteral("KeypadActionFilter"), Qt::FindDirectChildrenOnly))
        application->installEventFilter(new KeypadActionFilter(application));
}

bool WindowActionHoldsKey(const QWidget *widget, const QKeyEvent *event)
{
    if (!widget)
        return false;
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const QKeySequence plain(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier,
                                             Qt::Key(event->key())));
    return WindowActionOfKey(widget, event) || (keypad && WindowActionOf(widget, plain));
}

QAction *WindowActionOfKey(const QWidget *widget, const QKeyEvent *event)
{
    return widget ? WindowActionOf(widget, QKeySequence(event->keyCombination())) : nullptr;
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
