// A reader of the rich text format (RTF) for the manuals: it turns RTF bytes
// into paragraphs of formatted runs of text, without any window or font.
//
// Understood: groups, control words with their numeric parameters, control
// symbols, \par \line \tab, bold / italic / underline / font size, \plain and
// \pard, paragraph alignment, indents, spacing and tab stops, \'hh escapes (Windows-1252)
// and \uN with its fallback characters. Tables of fonts, colours and styles,
// document information, pictures and every group that starts with \* are
// skipped. Other control words are ignored. Any input gives a result: a
// malformed document is read as far as it makes sense, and what was wrong with
// it is listed in RtfDocument::problems.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

// The character formatting of a run of text.
struct RtfCharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    double pointSize = 12.0;  // \fsN gives N half-points; the default is \fs24

    bool operator==(const RtfCharFormat&) const = default;
};

// Text in one character format. Within a paragraph, a line break (\line) is
// U+2028 and a tab (\tab) is U+0009.
struct RtfRun {
    QString text;
    RtfCharFormat format;

    bool operator==(const RtfRun&) const = default;
};

enum class RtfAlignment { Left, Center, Right, Justify };

// One paragraph: its runs (neighbouring runs always differ in format; none is
// empty) and its layout. Lengths are in points (the file gives them in twips).
struct RtfParagraph {
    std::vector<RtfRun> runs;
    RtfAlignment alignment = RtfAlignment::Left;
    double leftIndent = 0;  // \liN
    double rightIndent = 0;  // \riN
    double firstLineIndent = 0;  // \fiN, relative to the left indent; may be negative
    double spaceBefore = 0;  // \sbN
    double spaceAfter = 0;  // \saN
    std::vector<double> tabStops;  // \txN, left-aligned, from the left margin, in the order given
    RtfCharFormat markFormat;  // the format at the paragraph's end: the height of an empty paragraph

    bool operator==(const RtfParagraph&) const = default;
};

struct RtfDocument {
    // Every paragraph ended by \par (or \sect, \page, \row), and the last one
    // when it holds text.
    std::vector<RtfParagraph> paragraphs;
    // What was wrong with a malformed document, one line per kind of fault;
    // empty for a sound one.
    QStringList problems;
};

RtfDocument ParseRtf(QByteArrayView rtf);

// The text of the paragraphs, each followed by '\n'; a line break inside a
// paragraph also becomes '\n'.
QString RtfPlainText(const RtfDocument& document);
