#include "fieldeditors.h"

#include "fonts.h"
#include "inputrules.h"
#include "textfind.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <limits>

namespace {

// The plain text layout that keeps each paragraph's shaped glyphs once it is
// laid out. Qt's own frees them after every layout, so every caret placed,
// every selection and every drawing shapes the line again: placing the caret
// after showing a card cost as much as laying the text out. The glyphs take
// some 25 bytes a character, so a text longer than KeptGlyphsUpTo characters
// (a Memo of thousands of lines) keeps none.
class KeptGlyphsLayout : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;
    static constexpr int KeptGlyphsUpTo = 64 * 1024;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override
    {
        if (document()->characterCount() > KeptGlyphsUpTo) {
            QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
            return;
        }
        const QTextBlock last = document()->findBlock(from + charsAdded);
        for (QTextBlock b = document()->findBlock(from); b.isValid(); b = b.next()) {
            b.layout()->setCacheEnabled(true);
            if (b == last)
                break;
        }
        QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    }
};

// Gives editor a document of its own laid out by KeptGlyphsLayout.
void KeepGlyphs(QPlainTextEdit* editor)
{
    auto* document = new QTextDocument(editor);
    document->setDocumentLayout(new KeptGlyphsLayout(document));
    editor->setDocument(document);
}

// A shown card's text into a text editor, the caret at the start, the undo
// history cleared, as setPlainText does, but laid out once: setPlainText
// lays the first paragraph out twice (its character format is set again
// over the whole text), which showing cards one after another pays for on
// every card.
void ShowPlainText(QPlainTextEdit* editor, const QString& text)
{
    editor->document()->setPlainText(text);
    QTextCursor start(editor->document());
    editor->setTextCursor(start);
}

}  // namespace

FieldLine::FieldLine(int maxTyped, QWidget* parent) : QLineEdit(parent), maxTyped_(maxTyped)
{
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textEdited, this, &FieldLine::Edited);
}

void FieldLine::SetText(const QString& text)
{
    previous_ = text;
    if (this->text() != text) {
        setText(text);  // clears the undo history too
        return;
    }
    // The same text: no change, but the undo history of the card shown
    // before goes (the line edit clears it only when setting a text, which
    // moves the caret: it is put back).
    if (isUndoAvailable() || isRedoAvailable()) {
        const int caret = cursorPosition();
        setText(text);
        setCursorPosition(caret);
    }
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
    KeepGlyphs(this);
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
    if (Text() == text) {
        document()->clearUndoRedoStacks();  // no undo reaches the card shown before
        return;
    }
    fixing_ = true;
    ShowPlainText(this, text);
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
    // The selection is typed over at once (nothing is drawn in between), so
    // only the caret after it is put into the editor.
    QTextCursor c(document());
    c.setPosition(static_cast<int>(start));
    c.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
    // The typing limit is not applied: the program's text is kept whole.
    fixing_ = true;
    c.insertText(text);
    fixing_ = false;
    setTextCursor(c);
    previous_ = Text();
}

MemoEditor::MemoEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    KeepGlyphs(this);
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
    if (Text() == crlfText) {
        document()->clearUndoRedoStacks();  // no undo reaches the card shown before
        return;
    }
    QString plain = crlfText;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    shown_ = crlfText;
    // Set before the text, so that the change handling already reads the
    // shown text back.
    shownRaw_.clear();
    ShowPlainText(this, plain);
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
    c.insertText(text);  // typed over at once: only the caret after it goes into the editor
    setTextCursor(c);
}

void CardFieldEditors::NameFieldEditors()
{
    memoTUNNISTE = static_cast<OneLineBox*>(editors[0]);
    Memo2 = static_cast<OneLineBox*>(editors[1]);
    Memo3 = static_cast<OneLineBox*>(editors[2]);
    Edit5 = static_cast<FieldLine*>(editors[3]);
    Edit6 = static_cast<FieldLine*>(editors[4]);
    editVUOSI = static_cast<FieldLine*>(editors[5]);
    editSIVU = static_cast<FieldLine*>(editors[6]);
    memoASIASANAT1 = static_cast<OneLineBox*>(editors[7]);
    memoASIASANAT2 = static_cast<OneLineBox*>(editors[8]);
    Memo1 = static_cast<OneLineBox*>(editors[9]);
    editKOODI1 = static_cast<FieldLine*>(editors[10]);
    editKOODI2 = static_cast<FieldLine*>(editors[11]);
    Edit7 = static_cast<FieldLine*>(editors[12]);
    Edit8 = static_cast<FieldLine*>(editors[13]);
    Edit9 = static_cast<FieldLine*>(editors[14]);
    Edit10 = static_cast<FieldLine*>(editors[15]);
    Edit11 = static_cast<FieldLine*>(editors[16]);
}

QLabel* AddFieldLabel(QWidget* area, const QString& caption, int cell, QPoint at, int clearOfX, QWidget* editor)
{
    auto* label = new QLabel(caption, area);
    label->setObjectName(QStringLiteral("lblField") + QString::number(cell + 1));
    label->setFont(ArialPx(11));
    label->move(at);
    label->adjustSize();
    if (clearOfX > 0)
        label->resize(std::min(label->width(), clearOfX - at.x() - 1), label->height());
    label->setBuddy(editor);
    return label;
}
