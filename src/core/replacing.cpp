#include "replacing.h"

#include "card.h"
#include "convert.h"

const QString ReplaceNotFoundMessage = QStringLiteral("Strings to replace not found ");
const QString ReplaceCompletedMessage = QStringLiteral("Find-replace action completed");

std::optional<TextReplacement> ReplaceNextOccurrence(
    QStringView text, qsizetype from, QStringView find, QStringView replacement)
{
    if (from < 0)
        from = 0;
    if (find.isEmpty() || from > text.size())
        return std::nullopt;
    const qsizetype at = text.indexOf(find, from, Qt::CaseSensitive);
    if (at < 0)
        return std::nullopt;
    TextReplacement r;
    r.start = at;
    r.text.reserve(text.size() - find.size() + replacement.size());
    r.text.append(text.first(at));
    r.text.append(replacement);
    r.text.append(text.sliced(at + find.size()));
    r.caret = at + replacement.size();
    return r;
}

TextReplaceResult ReplaceEveryOccurrence(QStringView text, QStringView find, QStringView replacement)
{
    TextReplaceResult out;
    out.text = text.toString();
    qsizetype caret = 0;
    while (std::optional<TextReplacement> step = ReplaceNextOccurrence(out.text, caret, find, replacement)) {
        out.text = std::move(step->text);
        caret = step->caret;
        ++out.replacements;
    }
    return out;
}

ReplaceAllCheck CheckReplaceAll(const ReplaceAllBoxes& boxes, int cardCount)
{
    ReplaceAllCheck c;
    if (boxes.firstIndex.isEmpty() || boxes.lastIndex.isEmpty()) {
        c.message = QStringLiteral("One of the text fields is empty");
        return c;
    }
    if (boxes.find.isEmpty()) {
        c.message = QStringLiteral("The field for the word to find is empty");
        return c;
    }
    const int first = StrToInt(boxes.firstIndex);
    if (first < 1) {
        c.message = QStringLiteral("The index number of the first index can not be smaller than 1");
        return c;
    }
    const int last = StrToInt(boxes.lastIndex);
    if (last < first) {
        c.message = QStringLiteral("The first index number can not be greater than the last index number");
        return c;
    }
    if (last > cardCount) {
        c.message = QStringLiteral("The last index can not be greater than the number of the cards in whole ")
            + QString::number(cardCount);
        return c;
    }
    c.first = first;
    c.last = last;
    return c;
}

QString ReplaceConfirmationText(const ReplaceAllBoxes& boxes)
{
    return QStringLiteral("Finding in cards  ") + boxes.firstIndex + QStringLiteral(" - ") + boxes.lastIndex
        + QStringLiteral("  from the field ") + boxes.field + QStringLiteral(" string \"") + boxes.find
        + QStringLiteral("\" and replacing it with \"") + boxes.replacement
        + QStringLiteral("\", do you want to proceed?");
}

std::optional<int> ReplaceFieldCell(QStringView chooserText)
{
    for (int cell = 0; cell < CardIdCell; ++cell) {
        if (chooserText == QLatin1String(Fields[static_cast<size_t>(cell)].chooserEntry))
            return cell;
    }
    return std::nullopt;
}
