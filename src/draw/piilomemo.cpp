#include "piilomemo.h"

#include <QTextLayout>
#include <QTextOption>

namespace {

bool BreaksParagraph(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Appends the display lines of one paragraph (no line break inside it).
void WrapParagraph(QStringView paragraph, const QFont& font, const QTextOption& option, QStringList& lines)
{
    if (paragraph.isEmpty()) {
        lines.append(QString());
        return;
    }
    QTextLayout layout(paragraph.toString(), font);
    layout.setTextOption(option);
    layout.setCacheEnabled(false);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(Piilomemo::InnerWidth);
        lines.append(paragraph.sliced(line.textStart(), line.textLength()).toString());
    }
    layout.endLayout();
}

}  // namespace

QFont Piilomemo::Font()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(FontPixels);
    return font;
}

void Piilomemo::Clear()
{
    text_.clear();
    lines_.clear();
    linesValid_ = true;
}

void Piilomemo::SetText(const QString& text)
{
    text_ = text;
    linesValid_ = false;
}

void Piilomemo::Add(const QString& paragraph)
{
    text_ += paragraph;
    text_ += u"\r\n";
    linesValid_ = false;
}

const QStringList& Piilomemo::Lines() const
{
    if (linesValid_)
        return lines_;
    lines_.clear();
    const QFont font = Font();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QStringView text(text_);
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && !BreaksParagraph(text[end]))
            ++end;
        WrapParagraph(text.sliced(start, end - start), font, option, lines_);
        if (end == size)
            break;
        // A CR LF pair is one break.
        start = end + ((text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n') ? 2 : 1);
    }
    linesValid_ = true;
    return lines_;
}
