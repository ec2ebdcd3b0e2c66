#include "piilomemo.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>

namespace {

bool BreaksParagraph(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The advances of the Latin letters, digits and signs in the box's font, to
// see without laying a paragraph out that it surely fits on one line.
class QuickWidths {
public:
    explicit QuickWidths(const QFont& font)
    {
        const QFontMetricsF metrics(font);
        for (char16_t c = 0; c < Count; ++c)
            advance_[c] = IsPlain(c) ? metrics.horizontalAdvance(QChar(c)) : -1.0;
    }

    // True when the paragraph is certainly narrower than the box's inner
    // width. Each letter is given one pixel more than its own advance, which
    // covers what kerning may add; a letter outside the table (tabs, other
    // scripts, surrogates) leaves the decision to the text layout.
    bool SurelyFits(QStringView paragraph) const
    {
        double width = 0.0;
        for (QChar c : paragraph) {
            const char16_t u = c.unicode();
            if (u >= Count || advance_[u] < 0.0)
                return false;
            width += advance_[u] + 1.0;
            if (width > Piilomemo::InnerWidth)
                return false;
        }
        return true;
    }

private:
    static constexpr char16_t Count = 0x250;  // Basic Latin to Latin Extended-B
    static bool IsPlain(char16_t c) { return c >= 0x20 && !(c >= 0x7f && c < 0xa0) && c != 0xad; }
    double advance_[Count];
};

// The table of the box's font, made once.
const QuickWidths& BoxQuickWidths()
{
    static const QuickWidths quick(Piilomemo::Font());
    return quick;
}

// Appends the display lines of one paragraph (no line break inside it).
void WrapParagraph(
    QStringView paragraph, const QFont& font, const QTextOption& option, const QuickWidths& quick, QStringList& lines)
{
    if (paragraph.isEmpty()) {
        lines.append(QString());
        return;
    }
    if (quick.SurelyFits(paragraph)) {
        lines.append(paragraph.toString());
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
    const QuickWidths& quick = BoxQuickWidths();
    const QStringView text(text_);
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = start;
        while (end < size && !BreaksParagraph(text[end]))
            ++end;
        WrapParagraph(text.sliced(start, end - start), font, option, quick, lines_);
        if (end == size)
            break;
        // A CR LF pair is one break.
        start = end + ((text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n') ? 2 : 1);
    }
    linesValid_ = true;
    return lines_;
}
