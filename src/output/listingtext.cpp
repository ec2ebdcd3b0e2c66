#include "listingtext.h"

#include "textfind.h"

ListingTextEdit::ListingTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ListingTextEdit::SetText(QString text)
{
    setPlainText(EditorText(text, LinesPerParagraph));
    held_ = std::move(text);
    document()->setModified(false);
    moveCursor(QTextCursor::Start);
}

QString ListingTextEdit::Text() const
{
    if (!document()->isModified())
        return held_;
    return RawToCrLf(document()->toRawText());
}

void ListingTextEdit::Clear()
{
    clear();
    held_.clear();
    document()->setModified(false);
}
