#include "textcodec.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::string Encode(const QString& text, Utf8Scan* scan)
{
    std::vector<char> out(static_cast<size_t>(3 * text.size() + 1));
    const char* end = EncodeUtf8(out.data(), text, scan);
    return std::string(out.data(), static_cast<size_t>(end - out.data()));
}

}  // namespace

// Eight units at a time or one by one, scanned or not: the bytes are those of
// the text in UTF-8, wherever its line breaks, tabs and other control
// characters fall among ASCII, two-byte, three-byte and four-byte units.
TEST(EncodeUtf8, ScannedOrNotGivesTheSameBytes)
{
    const QString pieces[] = {
        QStringLiteral("abcdefgh"),
        QStringLiteral("\r\n"),
        QStringLiteral("\t"),
        QStringLiteral("\f"),
        QStringLiteral("äöå"),
        QStringLiteral("Война"),
        QStringLiteral("日本"),
        QStringLiteral("😀"),
        QStringLiteral("\u00A4#>&%"),
        QStringLiteral("x"),
        QString(QChar(0x7F)),
        QString(QChar(0x01)),
    };
    const int count = static_cast<int>(std::size(pieces));
    for (int seed = 0; seed < 400; ++seed) {
        QString text;
        unsigned v = static_cast<unsigned>(seed) * 2654435761u + 1;
        for (int k = 0; k < 2 + seed % 23; ++k) {
            v = v * 1103515245u + 12345u;
            text += pieces[(v >> 16) % static_cast<unsigned>(count)];
        }
        SCOPED_TRACE(text.toStdString());
        Utf8Scan scan;
        const std::string scanned = Encode(text, &scan);
        EXPECT_EQ(Encode(text, nullptr), scanned);
        EXPECT_EQ(scanned, text.toUtf8().toStdString());
    }
}

TEST(EncodeUtf8, UnpairedSurrogatesBecomeReplacementCharacters)
{
    QString text = QStringLiteral("abcdefgh");
    text += QChar(0xD800);
    text += QStringLiteral("\r\nijklmnop");
    text += QChar(0xDC00);
    EXPECT_EQ(Encode(text, nullptr), "abcdefgh\xEF\xBF\xBD\r\nijklmnop\xEF\xBF\xBD");
}

TEST(EncodeUtf8, AScanCountsTheBreakUnitsAndSeesTheMemoEnd)
{
    struct Case {
        QString text;
        int breakUnits;
        int lineBreaks;
        bool memoEnd;
    };
    const QString longAscii = QStringLiteral("abcdefghijklmnop");
    const Case cases[] = {
        {QString(), 0, 0, false},
        {QStringLiteral("a\r\nb"), 2, 1, false},
        {longAscii + QStringLiteral("\r\n") + longAscii + u'\n' + longAscii + u'\r', 4, 3, false},
        {QStringLiteral("\r\n\r\n\r\n\r\n\r\n"), 10, 5, false},
        {QStringLiteral("äöäöäöäö\r\näöäöäöäö\r"), 3, 2, false},
        {QStringLiteral("äöäöäöäöäöäö\u00A4#>&%"), 0, 0, true},
        {longAscii + QStringLiteral("\u00A4#>&"), 0, 0, false},
        {QStringLiteral("\t\f\v\x01 tabs and other controls are no breaks"), 0, 0, false},
        {QStringLiteral("a\u2028b\u2029c"), 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        Utf8Scan scan;
        Encode(c.text, &scan);
        EXPECT_EQ(scan.breakUnits, c.breakUnits);
        EXPECT_EQ(scan.memoEnd, c.memoEnd);
        EXPECT_EQ(CountLineBreaks(c.text), c.lineBreaks);
    }
}
