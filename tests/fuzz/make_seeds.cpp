// make_seeds DIR: writes the starting corpus of cardfile_fuzz to DIR.
//
// Each seed is one mode byte (see cardfile_fuzz.cpp), padding bytes when the
// mode asks for them, and a card file: small generated card files in UTF-8
// and ANSI with the various line ends, and hand-made files for the edge cases
// (no format tag, bad and negative counts, too many cards, files cut short,
// end tests inside Memo lines), some with padding into a Memo.
#include "cardgen.h"

#include "cardfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

enum Cap { Cap0, Cap1, Cap2, Cap3, Cap5, Cap16, Cap200, Cap32000 };

QByteArray Mode(bool ansi, Cap cap, bool prefilled = false, int pad = 0)
{
    return QByteArray(1, char((ansi ? 1 : 0) | (cap << 1) | (prefilled ? 0x10 : 0) | (pad << 5)));
}

QByteArray PadBytes(int where, int adjust)
{
    QByteArray b(4, '\0');
    b[0] = char(where & 0xFF);
    b[1] = char(where >> 8);
    b[2] = char(adjust & 0xFF);
    b[3] = char(adjust >> 8);
    return b;
}

QByteArray ToAnsi(const QByteArray& utf8)
{
    const QByteArray body = utf8.startsWith("\xEF\xBB\xBF") ? utf8.mid(3) : utf8;
    return QString::fromUtf8(body).toLatin1();  // what Latin-1 lacks becomes '?'
}

QByteArray WithLineEnds(QByteArray b, const char* end)
{
    return b.replace("\r\n", end);
}

const QByteArray Header =
    "IF YOU SEE THIS TEXT, YOU ARE IN WRONG PLACE!! THIS IS CARDOMO DATA FILE.\r\nKQa0b5c1d0e2f1g0h0i1\r\n";

QByteArray HandCard(int k, const QByteArray& memoLines, const QByteArray& fields = "")
{
    QByteArray c;
    for (int i = 0; i < 17; ++i)
        c += (i == 0 ? fields : QByteArray()) + "\r\n";
    const QByteArray n = QByteArray::number(k);
    return c + "\xC2\xA4#<&%\xC2\xA4#<&%KQ==" + n + "\r\n" + memoLines + "\xC2\xA4#>&%\xC2\xA4#>&%KQ==" + n
        + "\r\ny2021m03d07h09mn05s02ms04" + n + "\r\n";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    QTemporaryDir tmp;
    int written = 0;
    auto seed = [&](const char* name, const QByteArray& bytes) {
        QFile f(
            out.filePath(QStringLiteral("seed-%1-%2").arg(written, 3, 10, QLatin1Char('0')).arg(QLatin1String(name))));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write a seed\n");
            std::exit(1);
        }
        ++written;
    };

    // Small generated card files: the first sets of cards that stay short.
    QByteArray files[6];
    const int counts[6] = {1, 2, 3, 4, 5, 8};
    std::uint64_t s = 1;
    for (int i = 0; i < 6; ++i) {
        for (;; ++s) {
            const CardRows rows = GenerateCards(counts[i], s);
            const QString path = tmp.filePath(QStringLiteral("g.kqk"));
            if (WriteCardFile(path, rows, counts[i], MainFileHeaderText).status != CardFileWriteResult::Ok)
                return 1;
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray b = f.readAll();
            if (b.size() <= 6000) {
                files[i] = b;
                ++s;
                break;
            }
        }
    }
    for (int i = 0; i < 6; ++i) {
        seed("utf8", Mode(false, Cap16) + files[i]);
        seed("ansi", Mode(true, Cap16) + ToAnsi(files[i]));
    }
    seed("utf8-lf", Mode(false, Cap16) + WithLineEnds(files[2], "\n"));
    seed("utf8-cr", Mode(false, Cap16) + WithLineEnds(files[2], "\r"));
    seed("ansi-lf", Mode(true, Cap16) + WithLineEnds(ToAnsi(files[2]), "\n"));
    seed("ansi-lone-cr", Mode(true, Cap16) + ToAnsi(files[1]).replace(" ", "\r"));
    seed("utf8-prefilled", Mode(false, Cap5, true) + files[1]);
    seed("utf8-too-many", Mode(false, Cap3) + files[4]);
    seed("utf8-cut", Mode(false, Cap200) + files[3].left(files[3].size() * 2 / 3));
    seed("ansi-cut", Mode(true, Cap32000) + ToAnsi(files[3]).left(files[3].size() / 2));

    // Hand-made edge cases.
    seed("empty", Mode(false, Cap1));
    seed("no-tag", Mode(false, Cap1) + "header\r\nno tag here\r\n1\r\n");
    seed("count-0", Mode(false, Cap0) + Header + "0\r\n");
    seed("count-negative", Mode(false, Cap1, true) + Header + "-3\r\n");
    seed("count-plus", Mode(false, Cap1) + Header + "+1\r\n" + HandCard(1, "one\r\ntwo\r\n", "title"));
    seed("count-text", Mode(false, Cap1) + Header + "abc\r\n");
    seed("count-huge", Mode(false, Cap1) + Header + "99999999999\r\n");
    seed("count-min", Mode(true, Cap1) + Header + "-2147483648\r\n");
    seed("memo-empty", Mode(false, Cap2) + Header + "2\r\n" + HandCard(1, "") + HandCard(2, "\r\n"));
    seed("memo-end-inside",
        Mode(false, Cap1) + Header + "1\r\n" + HandCard(1, "first\r\nbefore \xC2\xA4#>&% after\r\n"));
    seed("ansi-end-split",
        Mode(true, Cap1) + ToAnsi(Header + "1\r\n" + HandCard(1, "a\r\n")).replace("\xA4#>&%\xA4", "\xA4\r#>&%\xA4"));
    seed("utf8-bad-bytes",
        Mode(false, Cap1) + Header + "1\r\n" + HandCard(1, "\xF0\x9F\xC2\xA4\r\n\xE2\x82\r\n", "\xC3(\xFF\xC2"));

    // Padding into the first Memo of a generated file.
    const QByteArray start1("\xC2\xA4#<&%\xC2\xA4#<&%KQ==1\r\n");
    const int memo1 = int(files[1].indexOf(start1) + start1.size());
    seed("pad-memo-limit", Mode(false, Cap16, false, 5) + PadBytes(memo1, 10) + files[1]);
    seed("pad-memo-limit-ansi", Mode(true, Cap16, false, 5) + PadBytes(memo1 - 3, 9) + ToAnsi(files[1]));
    seed("pad-first-refill-x", Mode(false, Cap16, false, 6) + PadBytes(memo1, 1024) + files[1]);
    seed("pad-first-refill-crlf", Mode(false, Cap16, false, 6) + PadBytes(memo1 - 2, (1 << 11) | 1023) + files[1]);
    seed("pad-second-refill-x", Mode(false, Cap16, false, 7) + PadBytes(memo1, 1000) + files[1]);
    seed("pad-header", Mode(true, Cap16, false, 6) + PadBytes(10, 1030) + ToAnsi(files[2]));
    std::printf("%d seeds in %s\n", written, argv[1]);
    return 0;
}
