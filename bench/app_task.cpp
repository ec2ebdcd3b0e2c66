// One task of the program as a whole process, for the table beside other
// tools (bench/app_peers.sh): the program starts with the card file as it
// does for the user (its windows made, the last card shown), then does the
// task with the same code its commands run, prints a short result and ends.
//
//   app_task open   CARDS            start to the last card shown
//   app_task pick   CARDS WORD       pick the cards whose Topic contains WORD
//   app_task sort3  CARDS OUT        sort by Topic, Year, Title1; save to OUT
//   app_task sort12 CARDS OUT        sort by fields 1 to 12; save to OUT
//   app_task list   CARDS OUT        the listing of all cards, saved to OUT
//   app_task save   CARDS OUT        save the card file as OUT
//   app_task tsv    CARDS OUT        (not timed) the cards as tab-separated
//                                    lines, Memo line breaks as \n, for peers
//   app_task rec    CARDS OUT        (not timed) the cards as records
#include "application.h"
#include "cardfile.h"
#include "listing.h"
#include "picking.h"
#include "qtplatform.h"
#include "safesave.h"
#include "sorting.h"
#include "textexport.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <cstdio>

namespace {

const char* const FieldNames[FieldCount] = {"Title1", "Title2", "Title3", "Day", "Month", "Year", "Page", "Topic",
    "Keywords", "FileLink", "Code1", "Code2", "Code3", "aYear", "aMonth", "aDay", "aHour", "Memo", "CardID"};

bool WriteText(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

// A field for a tab-separated line: tabs and line breaks as \t and \n.
QString Tsv(QString s)
{
    s.replace(u'\\', QStringLiteral("\\\\"));
    s.replace(u'\t', QStringLiteral("\\t"));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    s.replace(u'\r', QStringLiteral("\\n"));
    s.replace(u'\n', QStringLiteral("\\n"));
    return s;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: app_task open|pick|sort3|sort12|list|save|tsv|rec CARDS [WORD|OUT]\n");
        return 2;
    }
    const QString task = QString::fromLocal8Bit(argv[1]);
    QApplication app(argc, argv);
    QtPlatform platform;
    CardomoApplication program(platform);
    program.Start({QString::fromLocal8Bit(argv[2])}, false);
    QCoreApplication::processEvents();
    CardStore& s = program.store;
    const QString arg = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    int status = 0;
    auto save = [&](const QString& out) {
        status =
            WriteCardFile(out, s.CardTable, s.CardCount, MainFileHeaderText).status == CardFileWriteResult::Ok ? 0 : 1;
    };
    if (task == u"open") {
        std::printf("%d cards\n", s.CardCount);
    } else if (task == u"pick") {
        std::printf("%d picked\n", PickCards(s, FieldTest{8, MatchOperator::Contains, arg}).count);
    } else if (task == u"sort3") {
        SortCardTable(s, SortKeyFields{8, 6, 1, 8, 8, 8, 8, 8, 8, 8, 8, 8}, SortDirection::Ascending);
        save(arg);
    } else if (task == u"sort12") {
        SortCardTable(s, DefaultSortKeyFields, SortDirection::Ascending);
        save(arg);
    } else if (task == u"list") {
        const QDateTime now = QDateTime::currentDateTime();
        ListingCollector collector(ListingKind::AllCards, s, FieldSelection(),
            now.date().toString(platform.ShortDateFormat()), now.time().toString(platform.LongTimeFormat()));
        while (!collector.AtEnd())
            collector.AppendNext();
        const QString text = collector.Finish();
        status =
            SafeSave(arg, [&](QIODevice& d) { return WriteListingText(d, text); }).status == SaveResult::Ok ? 0 : 1;
    } else if (task == u"save") {
        save(arg);
    } else if (task == u"tsv" || task == u"rec") {
        QString out;
        const bool tsv = task == u"tsv";
        if (tsv) {
            for (int c = 0; c < FieldCount; ++c)
                out += QString::fromLatin1(FieldNames[c]) + (c + 1 < FieldCount ? u'\t' : u'\n');
        } else {
            out += QStringLiteral("%rec: Card\n\n");
        }
        for (int i = 0; i < s.CardCount; ++i) {
            const Card& card = s.CardTable[static_cast<size_t>(i)];
            for (int c = 0; c < FieldCount; ++c) {
                if (tsv) {
                    out += Tsv(card[static_cast<size_t>(c)]) + (c + 1 < FieldCount ? u'\t' : u'\n');
                } else {
                    QString v = card[static_cast<size_t>(c)];
                    v.replace(QStringLiteral("\r\n"), QStringLiteral("\n+ "));
                    out += QString::fromLatin1(FieldNames[c]) + QStringLiteral(": ") + v + u'\n';
                }
            }
            if (!tsv)
                out += u'\n';
        }
        status = WriteText(arg, out) ? 0 : 1;
    } else {
        std::fprintf(stderr, "unknown task\n");
        status = 2;
    }
    s.FileOpen = false;  // lets the windows close
    return status;
}
