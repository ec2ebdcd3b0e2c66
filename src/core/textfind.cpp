#include "textfind.h"

#include "inputrules.h"

#include <algorithm>

qsizetype FindForward(const QString& text, qsizetype from, const QString& what)
{
    if (what.isEmpty() || from < 0 || from > text.size())
        return -1;
    return text.indexOf(what, from, Qt::CaseSensitive);
}

qsizetype CrLfPosition(const QString& raw, qsizetype rawPosition)
{
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < rawPosition && i < raw.size(); ++i)
        breaks += IsLineBreak(raw[i]) ? 1 : 0;
    return rawPosition + breaks;
}

qsizetype RawPosition(const QString& raw, qsizetype crlfPosition)
{
    qsizetype t = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const qsizetype width = IsLineBreak(raw[i]) ? 2 : 1;
        if (t + width > crlfPosition)
            return i;
        t += width;
    }
    return raw.size();
}

QString RawToCrLf(const QString& raw)
{
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    for (QChar c : raw) {
        if (IsLineBreak(c))
            out += QStringLiteral("\r\n");
        else
            out += c;
    }
    return out;
}

QString EditorText(QStringView text, int linesPerParagraph)
{
    QString out(text.size(), Qt::Uninitialized);
    QChar* o = out.data();
    const QChar* p = text.data();
    const QChar* const end = p + text.size();
    int lines = 0;
    while (p < end) {
        const QChar c = *p++;
        if (!IsLineBreak(c)) {
            *o++ = c;
            continue;
        }
        if (c == u'\r' && p < end && *p == u'\n')
            ++p;
        if (++lines >= linesPerParagraph) {
            *o++ = u'\n';
            lines = 0;
        } else {
            *o++ = QChar::LineSeparator;
        }
    }
    out.truncate(o - out.constData());
    return out;
}

void KeptLineBreaks::Reset(QStringView text)
{
    breaks_.clear();
    qsizetype raw = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++raw) {
        const QChar c = text[i];
        if (!IsLineBreak(c))
            continue;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;  // CR LF: the form every break reads back in
        else
            breaks_.emplace_back(raw, c);
    }
}

void KeptLineBreaks::Changed(qsizetype position, qsizetype removed, qsizetype added)
{
    if (breaks_.empty())
        return;
    auto at = [](const std::pair<qsizetype, QChar>& b, qsizetype p) { return b.first < p; };
    const auto first = std::lower_bound(breaks_.begin(), breaks_.end(), position, at);
    const auto behind = std::lower_bound(first, breaks_.end(), position + removed, at);
    for (auto b = behind; b != breaks_.end(); ++b)
        b->first += added - removed;
    breaks_.erase(first, behind);
}

QString KeptLineBreaks::Text(QStringView raw) const
{
    QString out;
    out.reserve(raw.size() + raw.size() / 16);
    auto kept = breaks_.begin();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (!IsLineBreak(c)) {
            out += c;
            continue;
        }
        while (kept != breaks_.end() && kept->first < i)
            ++kept;
        if (kept != breaks_.end() && kept->first == i)
            out += kept->second;
        else
            out += QStringLiteral("\r\n");
    }
    return out;
}
