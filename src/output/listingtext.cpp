#include "listingtext.h"

#include "textfind.h"

#include <QTextLayout>

ListingTextEdit::ListingTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) { kept_.Changed(position, removed, added); });
}

void ListingTextEdit::SetText(QString text)
{
    setPlainText(EditorText(text, LinesPerParagraph));
    kept_.Reset(text);
    held_ = std::move(text);
    document()->setModified(false);
    moveCursor(QTextCursor::Start);
}

QString ListingTextEdit::Text() const
{
    if (!document()->isModified())
        return held_;
    const QString raw = document()->toRawText();
    return kept_.IsEmpty() ? RawToCrLf(raw) : kept_.Text(raw);
}

void ListingTextEdit::Clear()
{
    clear();
    held_.clear();
    kept_.Reset({});
    document()->setModified(false);
}

bool ListingTextEdit::ShowsMoreLinesThan(int limit) const
{
    const QString text = Text();
    if (text.isEmpty())
        return limit < 0;
    // Each line takes one display line at least: a text of more lines than
    // limit needs no wrapping to tell.
    const qsizetype breaks = text.count(u'\n');
    const qsizetype lines = breaks + (text.endsWith(u'\n') ? 0 : 1);
    if (lines > limit)
        return true;
    QStringList paragraphs = text.split(QStringLiteral("\r\n"));
    if (paragraphs.last().isEmpty())
        paragraphs.removeLast();  // the rest after the final line break is no line
    QTextOption option;
    option.setWrapMode(wordWrapMode());
    const qreal width = viewport()->width() - 2 * document()->documentMargin();
    qsizetype shown = 0;
    for (const QString& line : paragraphs) {
        QTextLayout layout(line, font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(width);
            ++shown;
        }
        layout.endLayout();
        if (shown > limit)
            return true;
    }
    return false;
}
