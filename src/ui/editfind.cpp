#include "editfind.h"

#include "inputrules.h"
#include "platform.h"
#include "textfind.h"

#include <QPlainTextEdit>
#include <QTextCursor>

bool FindNextInEditor(Platform& platform, QPlainTextEdit& target, const QString& what)
{
    const QString raw = target.document()->toRawText();
    const qsizetype afterSelection = target.textCursor().selectionEnd();
    qsizetype start = -1;
    qsizetype end = -1;
    if (!HasLineBreak(what)) {
        // Without a line break the text to find matches the same characters
        // in the editor's own text as in the text with CR LF breaks: no copy
        // of a long text is needed.
        start = FindForward(raw, afterSelection, what);
        end = start + what.size();
    } else {
        const qsizetype match = FindForward(RawToCrLf(raw), CrLfPosition(raw, afterSelection), what);
        if (match >= 0) {
            start = RawPosition(raw, match);
            end = RawPosition(raw, match + what.size());
        }
    }
    if (start < 0) {
        platform.Message(QStringLiteral("String \"") + what + QStringLiteral("\" not found"), MsgIcon::Information);
        return false;
    }
    QTextCursor select(target.document());
    select.setPosition(static_cast<int>(start));
    select.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    target.setTextCursor(select);
    target.window()->activateWindow();
    target.setFocus();
    target.ensureCursorVisible();
    target.viewport()->repaint();
    platform.Wait(280);
    QTextCursor after(target.document());
    after.setPosition(static_cast<int>(end));
    target.setTextCursor(after);
    return true;
}
