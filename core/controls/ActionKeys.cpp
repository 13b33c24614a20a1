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

bool WidgetActionsHold(const QWidget *widget, const QKeySequence &key)
{
    for (const QAction *action : widget->actions())
        if (ActionHolds(action, key))
            return true;
    return false;
}

// Actions the window owns that are put on one of its widgets (a menu, a tool button, a page):
// their window shortcuts fire too.
bool OwnedActionsHold(const QWidget *window, const QKeySequence &key)
{
    for (const QAction *action : window->findChildren<QAction *>()) {
        if (!ActionHolds(action, key))
            continue;
        // As the shortcut map does: a hidden widget's action has no shortcut, a menu's has.
        for (const QObject *object : action->associatedObjects()) {
            const auto *w = qobject_cast<const QWidget *>(object);
            if (w && (w->isVisible() || qobject_cast<const QMenu *>(w)) && w->window() == window)
                return true;
        }
    }
    return false;
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
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    const QKeySequence plain(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier,
                                             Qt::Key(event->key())));
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (WidgetActionsHold(w, exact) || (keypad && WidgetActionsHold(w, plain)))
            return true;
        if (w->isWindow())
            break;
    }
    const QWidget *window = widget->window();
    return OwnedActionsHold(window, exact) || (keypad && OwnedActionsHold(window, plain));
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
