#include "rtfdocument.h"

#include "generalerror.h"

#include <QFile>
#include <QFont>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Block margins are laid out in pixels; the file gives them in points.
constexpr double PixelsPerPoint = 96.0 / 72.0;

QTextCharFormat CharFormat(const RtfCharFormat& f)
{
    QTextCharFormat format;
    format.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(f.italic);
    format.setFontUnderline(f.underline);
    format.setFontPointSize(f.pointSize);
    return format;
}

QTextBlockFormat BlockFormat(const RtfParagraph& p)
{
    QTextBlockFormat format;
    switch (p.alignment) {
    case RtfAlignment::Left:
        format.setAlignment(Qt::AlignLeft);
        break;
    case RtfAlignment::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case RtfAlignment::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    case RtfAlignment::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    format.setLeftMargin(p.leftIndent * PixelsPerPoint);
    format.setRightMargin(p.rightIndent * PixelsPerPoint);
    format.setTextIndent(p.firstLineIndent * PixelsPerPoint);
    format.setTopMargin(p.spaceBefore * PixelsPerPoint);
    format.setBottomMargin(p.spaceAfter * PixelsPerPoint);
    // RTF measures tab stops from the left margin, the layout from where the
    // line starts; the first line starts at the indent plus its own indent.
    QList<QTextOption::Tab> tabs;
    const double lineStart = p.leftIndent + p.firstLineIndent;
    for (double stop : p.tabStops) {
        if (stop > lineStart)
            tabs.append(QTextOption::Tab((stop - lineStart) * PixelsPerPoint, QTextOption::LeftTab));
    }
    format.setTabPositions(tabs);
    return format;
}

}  // namespace

void FillTextDocument(QTextDocument& document, const RtfDocument& rtf)
{
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    bool first = true;
    for (const RtfParagraph& p : rtf.paragraphs) {
        if (first) {
            cursor.setBlockFormat(BlockFormat(p));
            cursor.setBlockCharFormat(CharFormat(p.markFormat));
            first = false;
        } else {
            cursor.insertBlock(BlockFormat(p), CharFormat(p.markFormat));
        }
        for (const RtfRun& run : p.runs)
            cursor.insertText(run.text, CharFormat(run.format));
    }
    document.setModified(false);
}

QStringList LoadRtfFile(QTextDocument& document, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw GeneralError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw GeneralError(QStringLiteral("Read error: %1").arg(file.errorString()));
    const RtfDocument rtf = ParseRtf(bytes);
    FillTextDocument(document, rtf);
    return rtf.problems;
}
