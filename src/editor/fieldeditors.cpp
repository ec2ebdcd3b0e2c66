#include "fieldeditors.h"

#include "fonts.h"
#include "inputrules.h"
#include "textfind.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetricsF>
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

// What a screen reader reads of a read-only edit line: its text and
// selection, with the state read-only and not editable. Qt's own interface
// of a line edit calls even a read-only one editable, and offers to change
// its text.
class ShownLineAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ShownLineAccessible(FieldLine* line) : QAccessibleWidget(line, QAccessible::EditableText) { }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Line()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = Line()->isReadOnly();
        s.editable = !s.readOnly;
        s.selectableText = true;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && Line()->hasSelectedText()) {
            *startOffset = Line()->selectionStart();
            *endOffset = Line()->selectionEnd();
        }
    }
    int selectionCount() const override { return Line()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            Line()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            Line()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Line()->cursorPosition(); }
    void setCursorPosition(int position) override { Line()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = Line()->text();
        if (startOffset < 0 || endOffset < startOffset || startOffset > all.size())
            return {};
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Line()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QString all = Line()->text();
        if (offset < 0 || offset >= all.size())
            return {};
        // Measured from the caret, which stands where the line has scrolled to.
        const QFontMetrics metrics(Line()->font());
        const QRect caret = Line()->CaretRect();
        const int x = caret.center().x() + metrics.horizontalAdvance(all.left(offset))
            - metrics.horizontalAdvance(all.left(Line()->cursorPosition()));
        const QRect local(x, caret.top(), metrics.horizontalAdvance(all.at(offset)), caret.height());
        return QRect(Line()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override
    {
        const QPoint local = Line()->mapFromGlobal(point);
        if (!Line()->rect().contains(local))
            return -1;
        return Line()->cursorPositionAt(local);
    }
    void scrollToSubstring(int, int endIndex) override { Line()->setCursorPosition(endIndex); }
    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    FieldLine* Line() const { return static_cast<FieldLine*>(widget()); }
};

QAccessibleInterface* ShownLineFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("FieldLine"))
        return nullptr;
    auto* line = qobject_cast<FieldLine*>(object);
    return line && line->isReadOnly() ? new ShownLineAccessible(line) : nullptr;
}

}  // namespace

FieldLine::FieldLine(int maxTyped, QWidget* parent) : QLineEdit(parent), maxTyped_(maxTyped)
{
    [[maybe_unused]] static const bool factoryInstalled = [] {
        QAccessible::installFactory(ShownLineFactory);
        return true;
    }();
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textEdited, this, &FieldLine::Edited);
}

void FieldLine::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ReadOnlyChange) {
        // What a screen reader is told of the line was made (and kept) when
        // the line was: it is made anew for its new state.
        if (QAccessibleInterface* told = QAccessible::queryAccessibleInterface(this))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(told));
    }
    QLineEdit::changeEvent(event);
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
    connect(document(), &QTextDocument::contentsChange, this,
        [this](int position, int removed, int added) { kept_.Changed(position, removed, added); });
}

QString MemoEditor::Text() const
{
    const QString raw = document()->toRawText();
    if (raw == shownRaw_)
        return shown_;
    return kept_.IsEmpty() ? RawToCrLf(raw) : kept_.Text(raw);
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
    kept_.Reset(crlfText);
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

void FitCaption(QLabel& label, int room)
{
    QFont font = label.font();
    // A pixel to spare: hinted glyphs at a scaled screen's pixel ratio can
    // be a fraction wider than the unscaled advance.
    auto fits = [&label, room](
                    const QFont& f) { return QFontMetricsF(f, &label).horizontalAdvance(label.text()) <= room - 1; };
    for (double spacing = -0.25; !fits(font) && spacing >= -1.0; spacing -= 0.25)
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    for (int pixels = font.pixelSize(); !fits(font) && pixels > 7; --pixels)
        font.setPixelSize(pixels - 1);
    label.setFont(font);
}

QLabel* AddFieldLabel(QWidget* area, const QString& caption, int cell, QPoint at, int clearOfX, QWidget* editor)
{
    auto* label = new QLabel(caption, area);
    label->setObjectName(QStringLiteral("lblField") + QString::number(cell + 1));
    label->setFont(ArialPx(11));
    label->move(at);
    if (clearOfX > 0)
        FitCaption(*label, clearOfX - at.x() - 1);
    label->adjustSize();
    if (clearOfX > 0)
        label->resize(std::min(label->width(), clearOfX - at.x() - 1), label->height());
    label->setBuddy(editor);
    return label;
}
