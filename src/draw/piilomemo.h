// The line breaker of the printed pages: a fixed-width text box in Arial
// 16 pixels high that breaks its text into display lines the way a word-
// wrapping text box of 617 pixels at 96 pixels per inch does. The page body
// and the listing pages are cut into lines through it, so a printed line is
// one display line of this box.
//
// Its text is a sequence of paragraphs separated by CR LF (a lone CR, a lone
// LF, U+2028 and U+2029 break a paragraph too). Each paragraph is wrapped at
// word boundaries to the inner width; a word wider than a whole line is broken
// inside. A wrapped line keeps the spaces it ends with. An empty paragraph is
// one empty display line; the empty rest after a final line break is no line,
// so "a\r\nb\r\n" and "a\r\nb" are both two lines, and "" is none.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

class Piilomemo {
public:
    // The box is 617 pixels wide; its border (2 pixels each side) and its text
    // margins (4 pixels each side) leave 605 pixels for the text.
    static constexpr int BoxWidth = 617;
    static constexpr int BorderWidth = 2;
    static constexpr int TextMargin = 4;
    static constexpr int InnerWidth = BoxWidth - 2 * BorderWidth - 2 * TextMargin;
    static constexpr int FontPixels = 16;
    // The length of the stretches a long text is wrapped in on every core.
    static constexpr qsizetype ParagraphStretch = 64 * 1024;

    Piilomemo() = default;

    // Empties the box.
    void Clear();
    // Replaces the whole text.
    void SetText(const QString& text);
    // Adds a paragraph as a line of its own (the text gets the paragraph and
    // a CR LF after it); a paragraph holding line breaks adds several.
    void Add(const QString& paragraph);
    const QString& Text() const { return text_; }

    // The display lines of the text, from the first.
    const QStringList& Lines() const;
    int LineCount() const { return static_cast<int>(Lines().size()); }

    // The box's font: Arial 16 pixels high.
    static QFont Font();

private:
    QString text_;
    mutable QStringList lines_;
    mutable bool linesValid_ = true;
};

// The pieces the line breaker wraps a long text in, each on any core: the
// offsets 0 = c0 < c1 < ... < cn = text.size() of stretches of about
// stretch characters that begin and end at paragraph breaks (never between
// the CR and the LF of a pair).
std::vector<qsizetype> ParagraphStretches(QStringView text, qsizetype stretch);
// Appends the display lines of text[begin, end), a stretch of whole
// paragraphs, to lines. Each paragraph is wrapped by itself, so a text gives
// the same lines however it is cut. Safe on any thread.
void WrapParagraphs(QStringView text, qsizetype begin, qsizetype end, QStringList& lines);
