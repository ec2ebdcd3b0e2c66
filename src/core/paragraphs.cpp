#include "paragraphs.h"

#include <QStringList>

QString UnwrapParagraphs(const QString& text)
{
    QString lf = text;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool endsWithLineEnd = lf.endsWith(u'\n');
    if (endsWithLineEnd)
        lf.chop(1);
    QStringList out;
    QString paragraph;
    bool inParagraph = false;
    for (const QString& line : lf.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            if (inParagraph)
                out << paragraph;
            out << QString();
            paragraph.clear();
            inParagraph = false;
        } else if (inParagraph) {
            while (paragraph.endsWith(u' ') || paragraph.endsWith(u'\t'))
                paragraph.chop(1);
            paragraph += u' ' + QStringView(line).trimmed();
        } else {
            paragraph = line;
            inParagraph = true;
        }
    }
    if (inParagraph)
        out << paragraph;
    QString result = out.join(u'\n');
    if (endsWithLineEnd)
        result += u'\n';
    return result;
}
