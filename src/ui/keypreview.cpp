#include "keypreview.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>

bool RepeatedKeyFilter::Repeated(const QKeyEvent* key)
{
    if (key->timestamp() != 0 && !key->spontaneous() && key->timestamp() == timestamp_ && key->key() == key_
        && key->modifiers() == modifiers_)
        return true;
    timestamp_ = key->timestamp();
    key_ = key->key();
    modifiers_ = key->modifiers();
    return false;
}

int WheelNotches::Add(int delta)
{
    rest_ += delta;
    const int notches = rest_ / 120;  // towards zero: the rest keeps its sign
    rest_ -= notches * 120;
    return notches;
}

bool OverAnyOf(QWidget* window, QPoint global, const std::vector<QWidget*>& owners)
{
    for (QWidget* w = window->childAt(window->mapFromGlobal(global)); w && w != window; w = w->parentWidget())
        if (std::find(owners.begin(), owners.end(), w) != owners.end())
            return true;
    return false;
}

NumberBoxKey OrderNumberKey(const QKeyEvent* key)
{
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return NumberBoxKey::Enter;
    if (key->key() == Qt::Key_Backspace)
        return NumberBoxKey::Pass;
    if (key->matches(QKeySequence::Paste))
        return NumberBoxKey::Drop;
    const QString t = key->text();
    if (t.size() == 1 && t[0] >= u' ' && t[0] != QChar(0x7f))
        return t[0] >= u'0' && t[0] <= u'9' ? NumberBoxKey::Pass : NumberBoxKey::Drop;
    return NumberBoxKey::Pass;
}

bool TakesCommandKeysToo(const QWidget* control)
{
    if (!control)
        return false;
    // The text box inside a number spin or an editable drop-down list is
    // part of that control.
    const QWidget* parent = control->parentWidget();
    if (parent && (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent)))
        return false;
    return qobject_cast<const QLineEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control)
        || qobject_cast<const QTextEdit*>(control);
}

const QWidget* OwnerWindow(const QObject* o)
{
    for (; o; o = o->parent())
        if (const auto* w = qobject_cast<const QWidget*>(o); w && w->isWindow() && w->windowType() != Qt::Popup)
            return w;
    return nullptr;
}

std::vector<QAction*> WindowEntries(const QWidget* window)
{
    std::vector<QAction*> entries;
    for (QAction* a : window->findChildren<QAction*>())
        if (OwnerWindow(a) == window)
            entries.push_back(a);
    return entries;
}

bool WindowEntryTakes(const QWidget* window, const QKeyEvent* key)
{
    if (!window || key->key() == 0 || key->key() == Qt::Key_unknown)
        return false;
    const QKeySequence pressed(key->keyCombination());
    const std::vector<QAction*> entries = WindowEntries(window);
    return std::any_of(entries.begin(), entries.end(), [&pressed](const QAction* a) {
        if (!a->isEnabled() || !a->isVisible())
            return false;
        const QList<QKeySequence> keys = a->shortcuts();
        return std::any_of(keys.begin(), keys.end(),
            [&pressed](const QKeySequence& k) { return k.matches(pressed) == QKeySequence::ExactMatch; });
    });
}

WindowEntriesFirst::WindowEntriesFirst()
{
    QCoreApplication::instance()->installEventFilter(this);
}

WindowEntriesFirst::~WindowEntriesFirst()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool WindowEntriesFirst::eventFilter(QObject* watched, QEvent* event)
{
    // Before a key can run a shortcut, the focused control is asked whether
    // it wants the key for itself; a key of one of the window's entries is
    // not offered to it, so the entry runs.
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control || !WindowEntryTakes(control->window(), static_cast<QKeyEvent*>(event)))
        return false;
    event->ignore();
    return true;
}
