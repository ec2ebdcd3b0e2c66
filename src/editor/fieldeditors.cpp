#include "fieldeditors.h"

#include "inputrules.h"
#include "textfind.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <algorithm>
#include <limits>

FieldLine::FieldLine(int maxTyped, QWidget* parent) : QLineEdit(parent), maxTyped_(maxTyped)
{
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textEdited, this, &FieldLine::Edited);
}

void FieldLine::SetText(const QString& text)
{
    previous_ = text;
    if (this->text() != text)
        setText(text);
}

void FieldLine::Edited(const QString& text)
{
    if (programEdit_)
        return;
    const TextChange change = DiffTexts(previous_, text);
    if (AddsLineBreak(text, change)) {
        // A line break never comes in: the field gets back its text.
        const int caret = static_cast<int>(change.prefix);
        setText(previous_);
        setCursorPosition(std::min(caret, static_cast<int>(previous_.size())));
        return;
    }
    const qsizetype cut = TypedExcess(text, change, maxTyped_);
    if (cut > 0) {
        const qsizetype take = change.added - cut;
        setText(text.left(change.prefix + take) + text.right(change.suffix));
        setCursorPosition(static_cast<int>(change.prefix + take));
    }
    previous_ = this->text();
}

qsizetype FieldLine::SelectionEnd() const
{
    return hasSelectedText() ? selectionEnd() : cursorPosition();
}

void FieldLine::CaretToStart()
{
    setCursorPosition(0);  // also ends a selection
}

void FieldLine::ReplaceRange(qsizetype start, qsizetype length, const QString& text)
{
    setSelection(static_cast<int>(start), static_cast<int>(length));
    // The typing limit is not applied: the program's text is kept whole.
    programEdit_ = true;
    insert(text);
    programEdit_ = false;
    previous_ = this->text();
}

OneLineBox::OneLineBox(int maxTyped, QWidget* parent) : QPlainTextEdit(parent), maxTyped_(maxTyped)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    document()->setDocumentMargin(2);
    connect(document(), &QTextDocument::contentsChange, this, &OneLineBox::ContentsChange);
}

QString OneLineBox::Text() const
{
    return document()->toRawText();
}

void OneLineBox::SetText(const QString& text)
{
    previous_ = text;
    if (Text() == text)
        return;
    fixing_ = true;
    setPlainText(text);
    fixing_ = false;
    previous_ = Text();
}

void OneLineBox::ContentsChange()
{
    if (fixing_)
        return;
    const QString now = Text();
    if (now == previous_)
        return;
    fixing_ = true;
    const TextChange change = DiffTexts(previous_, now);
    if (AddsLineBreak(now, change)) {
        // A line break never comes in: the field gets back its text from before.
        setPlainText(previous_);
        QTextCursor c = textCursor();
        c.setPosition(static_cast<int>(std::min(change.prefix, previous_.size())));
        setTextCursor(c);
    } else {
        const qsizetype cut = TypedExcess(now, change, maxTyped_);
        if (cut > 0) {
            QTextCursor c(document());
            const qsizetype end = change.prefix + change.added;
            c.setPosition(static_cast<int>(end - cut));
            c.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
            c.removeSelectedText();
            QTextCursor caret = textCursor();
            caret.setPosition(static_cast<int>(end - cut));
            setTextCursor(caret);
        }
        previous_ = Text();
    }
    fixing_ = false;
}

qsizetype OneLineBox::SelectionEnd() const
{
    return textCursor().selectionEnd();
}

void OneLineBox::CaretToStart()
{
    QTextCursor c(document());
    setTextCursor(c);
}

void OneLineBox::ReplaceRange(qsizetype start, qsizetype length, const QString& text)
{
    QTextCursor c(document());
    c.setPosition(static_cast<int>(start));
    c.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
    setTextCursor(c);
    // The typing limit is not applied: the program's text is kept whole.
    fixing_ = true;
    c.insertText(text);
    fixing_ = false;
    setTextCursor(c);
    previous_ = Text();
}

MemoEditor::MemoEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

QString MemoEditor::Text() const
{
    const QString raw = document()->toRawText();
    if (raw == shownRaw_)
        return shown_;
    return RawToCrLf(raw);
}

void MemoEditor::SetText(const QString& crlfText)
{
    if (Text() == crlfText)
        return;
    QString plain = crlfText;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    shown_ = crlfText;
    // Set before the text, so that the change handling already reads the
    // shown text back.
    shownRaw_.clear();
    setPlainText(plain);
    shownRaw_ = document()->toRawText();
}

int MemoEditor::LineCount() const
{
    int lines = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (!b.next().isValid() && b.length() <= 1)
            break;  // an empty last line is not counted (an empty Memo has no lines)
        document()->documentLayout()->blockBoundingRect(b);  // lays the block out
        lines += std::max(1, b.layout()->lineCount());
    }
    return lines;
}

QString MemoEditor::EditText() const
{
    return RawToCrLf(document()->toRawText());
}

qsizetype MemoEditor::SelectionEnd() const
{
    return CrLfPosition(document()->toRawText(), textCursor().selectionEnd());
}

void MemoEditor::CaretToStart()
{
    QTextCursor c(document());
    setTextCursor(c);
}

void MemoEditor::ReplaceRange(qsizetype start, qsizetype length, const QString& text)
{
    const QString raw = document()->toRawText();
    QTextCursor c(document());
    c.setPosition(static_cast<int>(RawPosition(raw, start)));
    c.setPosition(static_cast<int>(RawPosition(raw, start + length)), QTextCursor::KeepAnchor);
    setTextCursor(c);
    c.insertText(text);
    setTextCursor(c);
}
