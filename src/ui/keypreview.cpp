#include "keypreview.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>
#include <algorithm>

bool RepeatedKeyFilter::Repeated(const QKeyEvent* key)
{
    if (!key->spontaneous() && key->timestamp() == timestamp_ && key->key() == key_
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
