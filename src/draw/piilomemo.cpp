#include "piilomemo.h"

#include <QFontMetricsF>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

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

void WrapParagraphs(QStringView text, qsizetype begin, qsizetype end, QStringList& lines)
{
    const QFont font = Piilomemo::Font();
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QuickWidths& quick = BoxQuickWidths();
    const qsizetype size = text.size();
    qsizetype start = begin;
    while (start < end) {
        qsizetype stop = start;
        while (stop < size && !BreaksParagraph(text[stop]))
            ++stop;
        WrapParagraph(text.sliced(start, stop - start), font, option, quick, lines);
        if (stop == size)
            break;
        // A CR LF pair is one break.
        start = stop + ((text[stop] == u'\r' && stop + 1 < size && text[stop + 1] == u'\n') ? 2 : 1);
    }
}

std::vector<qsizetype> ParagraphStretches(QStringView text, qsizetype stretch)
{
    BoxQuickWidths();  // made here, before any other thread needs it
    const qsizetype size = text.size();
    std::vector<qsizetype> cuts{0};
    while (cuts.back() < size) {
        qsizetype cut = std::min(size, cuts.back() + stretch);
        while (cut < size && !BreaksParagraph(text[cut - 1]))
            ++cut;
        // Never between the CR and the LF of a pair.
        if (cut < size && text[cut - 1] == u'\r' && text[cut] == u'\n')
            ++cut;
        cuts.push_back(cut);
    }
    return cuts;
}

const QStringList& Piilomemo::Lines() const
{
    if (linesValid_)
        return lines_;
    lines_.clear();
    const QStringView text(text_);
    const qsizetype size = text.size();
    // A long text is cut into stretches of whole paragraphs that every core
    // wraps, taking the next stretch as it is done; the lines are then joined
    // in the text's order. Each paragraph is wrapped by itself, so the lines
    // are the same however the text is cut.
    const std::vector<qsizetype> cuts = ParagraphStretches(text, ParagraphStretch);
    const size_t stretches = cuts.size() - 1;
    if (stretches <= 1) {
        WrapParagraphs(text, 0, size, lines_);
        linesValid_ = true;
        return lines_;
    }
    std::vector<QStringList> parts(stretches);
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < stretches; i = next++)
            WrapParagraphs(text, cuts[i], cuts[i + 1], parts[i]);
    };
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < cores && t < stretches; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& h : helpers)
        h.join();
    qsizetype total = 0;
    for (const QStringList& part : parts)
        total += part.size();
    lines_.reserve(total);
    for (QStringList& part : parts)
        lines_.append(std::move(part));
    linesValid_ = true;
    return lines_;
}
