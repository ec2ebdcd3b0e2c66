#include "tabular.h"

#include "textcodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

const std::array<QString, FieldCount> FieldColumnNames = {
    QStringLiteral("Title1"),
    QStringLiteral("Title2"),
    QStringLiteral("Title3"),
    QStringLiteral("Day"),
    QStringLiteral("Month"),
    QStringLiteral("Year"),
    QStringLiteral("Page"),
    QStringLiteral("Topic"),
    QStringLiteral("Keywords"),
    QStringLiteral("File link"),
    QStringLiteral("Code1"),
    QStringLiteral("Code2"),
    QStringLiteral("Code3"),
    QStringLiteral("aYear"),
    QStringLiteral("aMonth"),
    QStringLiteral("aDay"),
    QStringLiteral("aHour:min"),
    QStringLiteral("Memo"),
    QStringLiteral("Card ID"),
};

namespace {

constexpr qsizetype SinkFlushAt = qsizetype(1) << 20;

// UTF-8 gathered in a buffer and handed to the device in large pieces.
class ByteSink {
public:
    explicit ByteSink(QIODevice& device) : device_(device) { buffer_.reserve(SinkFlushAt + 4096); }

    void Ascii(const char* s, qsizetype n)
    {
        buffer_.append(s, n);
        Step();
    }
    void Ascii(char c) { buffer_.append(c); }
    // Text as UTF-8; unpaired surrogates as U+FFFD.
    void Text(QStringView s)
    {
        const qsizetype at = buffer_.size();
        buffer_.resize(at + 3 * s.size());
        char* end = EncodeUtf8(buffer_.data() + at, s);
        buffer_.truncate(end - buffer_.data());
        Step();
    }
    bool Finish()
    {
        Flush();
        return ok_;
    }

private:
    void Step()
    {
        if (buffer_.size() >= SinkFlushAt)
            Flush();
    }
    void Flush()
    {
        if (ok_ && !buffer_.isEmpty())
            ok_ = device_.write(buffer_) == buffer_.size();
        buffer_.clear();
    }

    QIODevice& device_;
    QByteArray buffer_;
    bool ok_ = true;
};

bool NeedsCsvQuotes(QStringView s)
{
    for (const QChar c : s)
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    return false;
}

void CsvField(ByteSink& out, QStringView s)
{
    if (!NeedsCsvQuotes(s)) {
        out.Text(s);
        return;
    }
    out.Ascii('"');
    qsizetype from = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'"') {
            out.Text(s.sliced(from, i + 1 - from));  // the quote itself, then its double
            out.Ascii('"');
            from = i + 1;
        }
    }
    out.Text(s.sliced(from));
    out.Ascii('"');
}

void TsvField(ByteSink& out, QStringView s)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        const char* escape = c == u'\\' ? "\\\\"
            : c == u'\t'                ? "\\t"
            : c == u'\n'                ? "\\n"
            : c == u'\r'                ? "\\r"
                                        : nullptr;
        if (!escape)
            continue;
        out.Text(s.sliced(from, i - from));
        out.Ascii(escape, 2);
        from = i + 1;
    }
    out.Text(s.sliced(from));
}

void JsonString(ByteSink& out, QStringView s)
{
    out.Ascii('"');
    qsizetype from = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c >= 0x20 && c != u'"' && c != u'\\')
            continue;
        out.Text(s.sliced(from, i - from));
        from = i + 1;
        switch (c) {
        case u'"':
            out.Ascii("\\\"", 2);
            break;
        case u'\\':
            out.Ascii("\\\\", 2);
            break;
        case u'\b':
            out.Ascii("\\b", 2);
            break;
        case u'\f':
            out.Ascii("\\f", 2);
            break;
        case u'\n':
            out.Ascii("\\n", 2);
            break;
        case u'\r':
            out.Ascii("\\r", 2);
            break;
        case u'\t':
            out.Ascii("\\t", 2);
            break;
        default: {
            static const char hex[] = "0123456789abcdef";
            const char u[6] = {'\\', 'u', '0', '0', hex[(c >> 4) & 0xF], hex[c & 0xF]};
            out.Ascii(u, 6);
        }
        }
    }
    out.Text(s.sliced(from));
    out.Ascii('"');
}

TableReadResult Refused(const QString& error)
{
    TableReadResult r;
    r.error = error;
    return r;
}

// The card field a column name gives, or -1.
int CellOfName(QStringView name)
{
    for (int c = 0; c < FieldCount; ++c)
        if (FieldColumnNames[static_cast<size_t>(c)] == name)
            return c;
    return -1;
}

void AddCard(TableReadResult& r, Card&& card)
{
    card[MemoCell] = MemoLineBreaks(card[MemoCell]);
    r.needsCardId.push_back(card[CardIdCell].isEmpty());
    r.cards.push_back(std::move(card));
}

}  // namespace

bool WriteCardTable(QIODevice& device, std::span<const Card> cards, TableFormat format)
{
    ByteSink out(device);
    switch (format) {
    case TableFormat::Csv:
    case TableFormat::Tsv: {
        const bool csv = format == TableFormat::Csv;
        const char separator = csv ? ',' : '\t';
        auto row = [&](auto field) {
            for (int c = 0; c < FieldCount; ++c) {
                if (c)
                    out.Ascii(separator);
                field(c);
            }
            if (csv)
                out.Ascii("\r\n", 2);
            else
                out.Ascii("\n", 1);
        };
        row([&](int c) { out.Text(FieldColumnNames[static_cast<size_t>(c)]); });
        for (const Card& card : cards)
            row([&](int c) {
                if (csv)
                    CsvField(out, card[static_cast<size_t>(c)]);
                else
                    TsvField(out, card[static_cast<size_t>(c)]);
            });
        break;
    }
    case TableFormat::Json:
        if (cards.empty()) {
            out.Ascii("[]\n", 3);
            break;
        }
        out.Ascii("[\n", 2);
        for (size_t i = 0; i < cards.size(); ++i) {
            out.Ascii('{');
            for (int c = 0; c < FieldCount; ++c) {
                if (c)
                    out.Ascii(',');
                JsonString(out, FieldColumnNames[static_cast<size_t>(c)]);
                out.Ascii(':');
                JsonString(out, cards[i][static_cast<size_t>(c)]);
            }
            out.Ascii(i + 1 < cards.size() ? "},\n" : "}\n", i + 1 < cards.size() ? 3 : 2);
        }
        out.Ascii("]\n", 2);
        break;
    }
    return out.Finish();
}

QString MemoLineBreaks(QStringView memo)
{
    QString out;
    out.reserve(memo.size());
    for (qsizetype i = 0; i < memo.size(); ++i) {
        const QChar c = memo[i];
        if (c == u'\r') {
            out += u"\r\n";
            if (i + 1 < memo.size() && memo[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

TableReadResult ReadCsvCards(const QByteArray& bytes)
{
    const QString decoded = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes);
    const QStringView text = decoded;

    // Splits the text into rows of fields; an empty line is no row.
    std::vector<std::vector<QString>> rows;
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    auto atRowEnd = [&] { return i >= n || text[i] == u'\r' || text[i] == u'\n'; };
    while (i < n) {
        std::vector<QString> row;
        if (!atRowEnd()) {
            for (;;) {
                QString field;
                if (text[i] == u'"') {
                    const int quoteLine = line;
                    for (++i;; ++i) {
                        if (i >= n)
                            return Refused(QStringLiteral("A quoted field that begins on line ")
                                + QString::number(quoteLine) + QStringLiteral(" has no closing quote"));
                        const QChar q = text[i];
                        if (q == u'"') {
                            if (i + 1 < n && text[i + 1] == u'"') {
                                field += q;
                                ++i;
                                continue;
                            }
                            ++i;
                            break;
                        }
                        if (q == u'\n' || (q == u'\r' && !(i + 1 < n && text[i + 1] == u'\n')))
                            ++line;
                        field += q;
                    }
                    if (!atRowEnd() && text[i] != u',')
                        return Refused(QStringLiteral("Line ") + QString::number(line)
                            + QStringLiteral(": a quoted field is followed by more text before the next comma"));
                } else {
                    const qsizetype from = i;
                    while (!atRowEnd() && text[i] != u',') {
                        if (text[i] == u'"')
                            return Refused(QStringLiteral("Line ") + QString::number(line)
                                + QStringLiteral(": a double quote inside a field that is not quoted"));
                        ++i;
                    }
                    field = text.sliced(from, i - from).toString();
                }
                row.push_back(std::move(field));
                if (i < n && text[i] == u',') {
                    ++i;
                    continue;
                }
                break;
            }
            rows.push_back(std::move(row));
        }
        if (i < n) {
            i += (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            ++line;
        }
    }

    if (rows.empty())
        return Refused(QStringLiteral("The table has no header row"));
    std::vector<int> cells;
    std::array<bool, FieldCount> seen{};
    for (const QString& name : rows.front()) {
        const int cell = CellOfName(name);
        if (cell < 0)
            return Refused(QStringLiteral("The column \"") + name + QStringLiteral("\" is not a field name"));
        if (seen[static_cast<size_t>(cell)])
            return Refused(QStringLiteral("The column \"") + name + QStringLiteral("\" comes twice"));
        seen[static_cast<size_t>(cell)] = true;
        cells.push_back(cell);
    }
    TableReadResult r;
    for (size_t k = 1; k < rows.size(); ++k) {
        const std::vector<QString>& fields = rows[k];
        if (fields.size() != cells.size())
            return Refused(QStringLiteral("Row ") + QString::number(k + 1) + QStringLiteral(" has ")
                + QString::number(fields.size()) + QStringLiteral(" fields, the header ")
                + QString::number(cells.size()));
        Card card;
        for (size_t f = 0; f < fields.size(); ++f)
            card[static_cast<size_t>(cells[f])] = fields[f];
        AddCard(r, std::move(card));
    }
    r.ok = true;
    return r;
}

TableReadResult ReadJsonCards(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument doc =
        QJsonDocument::fromJson(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return Refused(QStringLiteral("Not JSON: ") + error.errorString() + QStringLiteral(" at byte ")
            + QString::number(error.offset));
    if (!doc.isArray())
        return Refused(QStringLiteral("The JSON text is not an array of cards"));
    const QJsonArray array = doc.array();
    TableReadResult r;
    r.cards.reserve(static_cast<size_t>(array.size()));
    for (qsizetype k = 0; k < array.size(); ++k) {
        const QString where = QStringLiteral("Card ") + QString::number(k + 1) + QStringLiteral(": ");
        if (!array[k].isObject())
            return Refused(where + QStringLiteral("not an object"));
        const QJsonObject object = array[k].toObject();
        Card card;
        for (auto it = object.begin(); it != object.end(); ++it) {
            const int cell = CellOfName(it.key());
            if (cell < 0)
                return Refused(
                    where + QStringLiteral("the key \"") + it.key() + QStringLiteral("\" is not a field name"));
            if (!it.value().isString())
                return Refused(
                    where + QStringLiteral("the value of \"") + it.key() + QStringLiteral("\" is not a string"));
            card[static_cast<size_t>(cell)] = it.value().toString();
        }
        AddCard(r, std::move(card));
    }
    r.ok = true;
    return r;
}
