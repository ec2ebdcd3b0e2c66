#include "cardgen.h"

#include "cardstore.h"

#include <QDateTime>
#include <QStringList>
#include <vector>

namespace {

// splitmix64: small, fast, and the same on every compiler and library
// (the std distributions are not).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) { }

    std::uint64_t Next()
    {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n
    int Below(int n) { return static_cast<int>(((Next() >> 32) * static_cast<std::uint64_t>(n)) >> 32); }
    // lo <= result <= hi
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool PerMille(int p) { return Below(1000) < p; }
    template <typename T> const T& Pick(const std::vector<T>& v)
    {
        return v[static_cast<size_t>(Below(static_cast<int>(v.size())))];
    }

private:
    std::uint64_t s_;
};

std::vector<QString> List(std::initializer_list<const char*> items)
{
    std::vector<QString> out;
    out.reserve(items.size());
    for (const char* s : items)
        out.push_back(QString::fromUtf8(s));
    return out;
}

struct Vocabulary {
    std::vector<QString> finnish = List({
        "kirja",
        "päivä",
        "työ",
        "sää",
        "yö",
        "lähde",
        "tutkimus",
        "muistiinpano",
        "kokous",
        "pöytäkirja",
        "yhteenveto",
        "käsikirjoitus",
        "hääjuhla",
        "kesämökki",
        "järvi",
        "metsä",
        "sieni",
        "äiti",
        "isä",
        "mökki",
        "sähköposti",
        "puhelin",
        "kirjasto",
        "arkisto",
        "lähdeluettelo",
        "väitöskirja",
        "historia",
        "kieli",
        "sanakirja",
        "kysymys",
        "vastaus",
        "esimerkki",
        "tärkeä",
        "huomio",
        "öljy",
        "ystävä",
        "naapuri",
        "kaupunki",
        "maaseutu",
        "yliopisto",
        "opiskelija",
        "luento",
        "tentti",
        "kurssi",
        "syksy",
        "kevät",
        "talvi",
        "kesä",
        "joulu",
        "juhannus",
        "saunailta",
        "kahvi",
        "pulla",
        "ruisleipä",
        "lohikäärme",
        "tähti",
        "kuu",
        "aurinko",
        "sade",
        "lumi",
        "jää",
        "tuuli",
        "myrsky",
        "vähän",
        "paljon",
        "hyvä",
        "huono",
        "uusi",
        "vanha",
        "tänään",
        "huomenna",
        "eilen",
        "ja",
        "tai",
        "mutta",
        "koska",
        "että",
        "on",
        "oli",
        "ei",
        "se",
        "hän",
        "me",
        "he",
        "tämä",
        "tuo",
        "jossa",
        "kanssa",
        "ilman",
        "ennen",
        "jälkeen",
        "sivu",
        "luku",
        "lause",
        "sana",
        "kirjoittaja",
        "lehti",
        "artikkeli",
        "sävellys",
        "äänite",
        "mäki",
        "ympäristö",
        "yhdistys",
        "hallitus",
        "pääkirjoitus",
        "kääntäjä",
        "sukututkimus",
        "isoäiti",
        "isoisä",
        "kirkonkirja",
    });
    std::vector<QString> english = List({
        "the",
        "of",
        "and",
        "to",
        "in",
        "a",
        "is",
        "was",
        "for",
        "with",
        "on",
        "at",
        "by",
        "report",
        "meeting",
        "notes",
        "chapter",
        "library",
        "history",
        "research",
        "summary",
        "draft",
        "review",
        "letter",
        "source",
        "archive",
        "reference",
        "question",
        "answer",
        "example",
        "important",
        "project",
        "budget",
        "schedule",
        "garden",
        "recipe",
        "travel",
        "museum",
        "concert",
        "birthday",
        "invoice",
        "contract",
        "manual",
        "lecture",
        "exam",
        "course",
        "weather",
        "winter",
        "summer",
        "café",
        "naïve",
        "résumé",
        "fiancée",
        "über",
        "façade",
        "déjà",
        "rôle",
        "Noël",
        "first",
        "second",
        "edition",
        "volume",
        "author",
        "translation",
        "quote",
        "see",
        "also",
        "compare",
        "idea",
        "check",
        "later",
        "list",
    });
    std::vector<QString> names = List({
        "Müller",
        "Åström",
        "Björk",
        "Lindén",
        "Virtanen",
        "Mäkinen",
        "Häkkinen",
        "Nieminen",
        "Smith",
        "Brontë",
        "Dvořák",
        "Zoë",
        "José",
        "François",
        "Søren",
        "Kärkkäinen",
        "Öhman",
        "Väänänen",
        "Lönnrot",
        "Sibelius",
        "Ahlqvist",
        "Jääskeläinen",
        "Brown",
    });
    std::vector<QString> firstNames = List({
        "Anna",
        "Aino",
        "Eero",
        "Jyrki",
        "Päivi",
        "Sören",
        "Åsa",
        "Émile",
        "Jürgen",
        "Mary",
        "John",
        "Väinö",
        "Ilmari",
        "Kaija",
        "Tuomas",
        "Helmi",
        "Otto",
    });
    std::vector<QString> places = List({
        "Jyväskylä",
        "Hämeenlinna",
        "Mäntsälä",
        "Åbo",
        "Vöyri",
        "Ähtäri",
        "Pieksämäki",
        "Tampere",
        "Helsinki",
        "Oulu",
        "Rovaniemi",
        "Kuopio",
        "Närpes",
        "Jakobstad",
        "Malmö",
        "Zürich",
        "München",
        "Köln",
        "Göteborg",
        "London",
        "Tallinn",
    });
    std::vector<QString> topics = List({
        "Historia",
        "Kielitiede",
        "Matkat",
        "Talous",
        "Puutarha",
        "Reseptit",
        "Literature",
        "Music",
        "Työ",
        "Terveys",
        "Sukututkimus",
        "Äänitteet",
        "Filosofia",
        "Luonto",
        "Projects",
        "Kirjeet",
        "Elokuvat",
        "Tekniikka",
        "Koulu",
        "Yhdistys",
    });
    // Rare: most outside the Basic Multilingual Plane, so they are surrogate pairs.
    std::vector<QString> emoji = List({
        "\U0001F642",
        "\U0001F4DA",
        "\U0001F389",
        "\U0001F600",
        "\U0001F332",
        "\u2615",
        "\U0001D11E",
        "\U0001F1EB\U0001F1EE",
        "\u2714",
    });
    std::vector<QString> extensions = List({"pdf", "docx", "txt", "jpg", "xlsx", "odt", "mp3"});
};

class CardMaker {
public:
    explicit CardMaker(std::uint64_t seed) : rng_(seed), time_(QDate(2009, 1, 5), QTime(8, 0), Qt::UTC) { }

    Card Make()
    {
        Card c;
        AdvanceClock();
        c[0] = Maybe(950, [&] { return Capitalized(Phrase(2, 6)); });  // Title1
        c[1] = Maybe(600, [&] { return Phrase(3, 8); });  // Title2
        c[2] = Maybe(300, [&] { return Person(); });  // Title3
        const QDate day(rng_.Between(1890, 2024), rng_.Between(1, 12), rng_.Between(1, 28));
        const bool dated = rng_.PerMille(700);
        if (dated) {
            c[3] = Two(day.day());
            c[4] = Two(day.month());
            c[5] = QString::number(day.year());
        }
        c[6] = Maybe(600, [&] { return Page(); });  // Page
        c[7] = Maybe(800, [&] { return rng_.Pick(v_.topics); });  // Topic
        c[8] = Maybe(700, [&] { return Keywords(); });  // Keywords
        c[9] = Maybe(150, [&] { return FileLink(); });  // File link
        c[10] = Maybe(600, [&] { return Code(); });  // Code1
        c[11] = Maybe(400, [&] { return Code(); });  // Code2
        c[12] = Maybe(200, [&] { return Code(); });  // Code3
        if (rng_.PerMille(800)) {  // when noted
            const QDate d = time_.date();
            const QTime t = time_.time();
            c[13] = QString::number(d.year());
            c[14] = Two(d.month());
            c[15] = Two(d.day());
            c[16] = Two(t.hour()) + u':' + Two(t.minute());
        }
        c[MemoCell] = Memo();
        c[CardIdCell] = MakeCardId(time_);
        return c;
    }

private:
    template <typename F> QString Maybe(int perMille, F make) { return rng_.PerMille(perMille) ? make() : QString(); }

    // Cards come in sessions a few seconds or minutes apart, with days between sessions.
    void AdvanceClock()
    {
        qint64 ms = rng_.Between(900, 90'000);
        if (rng_.PerMille(60))
            ms += qint64(rng_.Between(1, 72)) * 3'600'000;
        time_ = time_.addMSecs(ms);
    }

    static QString Two(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

    QString Word()
    {
        const int r = rng_.Below(1000);
        if (r < 3)
            return rng_.Pick(v_.emoji);
        if (r < 40)
            return rng_.Pick(v_.places);
        if (r < 70)
            return rng_.Pick(v_.names);
        if (r < 80)
            return QString::number(rng_.Between(1, 2500));
        if (r < 86)
            return Date();
        return r < 560 ? rng_.Pick(v_.finnish) : rng_.Pick(v_.english);
    }

    QString Date()
    {
        return QStringLiteral("%1/%2/%3")
            .arg(Two(rng_.Between(1, 28)), Two(rng_.Between(1, 12)))
            .arg(rng_.Between(1950, 2024));
    }

    QString Phrase(int minWords, int maxWords)
    {
        QString s;
        const int n = rng_.Between(minWords, maxWords);
        for (int i = 0; i < n; ++i) {
            if (i)
                s += u' ';
            s += Word();
        }
        return s;
    }

    static QString Capitalized(QString s)
    {
        if (!s.isEmpty() && s[0].isLower())
            s[0] = s[0].toUpper();
        return s;
    }

    QString Sentence()
    {
        static const char16_t ends[] = {u'.', u'.', u'.', u'.', u'?', u'!', u':', u';'};
        QString s = Capitalized(Phrase(3, 11));
        if (rng_.PerMille(150))
            s.insert(s.indexOf(u' ') < 0 ? s.size() : s.indexOf(u' '), u',');
        return s + ends[rng_.Below(8)];
    }

    QString Person()
    {
        if (rng_.PerMille(300))
            return Capitalized(Phrase(2, 5));
        QString p = rng_.Pick(v_.names) + QStringLiteral(", ") + rng_.Pick(v_.firstNames);
        if (rng_.PerMille(250))
            p += QStringLiteral(" & ") + rng_.Pick(v_.names);
        return p;
    }

    QString Page()
    {
        const int p = rng_.Between(1, 900);
        switch (rng_.Below(5)) {
        case 0:
            return QStringLiteral("s. %1").arg(p);
        case 1:
            return QStringLiteral("p. %1").arg(p);
        case 2:
            return QStringLiteral("%1-%2").arg(p).arg(p + rng_.Between(1, 30));
        default:
            return QString::number(p);
        }
    }

    QString Keywords()
    {
        QString s;
        const int n = rng_.Between(1, 5);
        for (int i = 0; i < n; ++i) {
            if (i)
                s += rng_.PerMille(700) ? QStringLiteral(", ") : QStringLiteral("; ");
            s += rng_.PerMille(200) ? rng_.Pick(v_.topics).toLower() : rng_.Pick(v_.finnish);
        }
        return s;
    }

    QString Code()
    {
        static const char* const prefixes[] = {"A", "B", "K", "FIN", "HKI", "JKL", "ISBN", "Ö"};
        const QString prefix = QString::fromUtf8(prefixes[rng_.Below(8)]);
        switch (rng_.Below(4)) {
        case 0:
            return QStringLiteral("%1-%2").arg(prefix).arg(rng_.Between(1, 999));
        case 1:
            return QStringLiteral("%1-%2-%3")
                .arg(prefix)
                .arg(rng_.Between(1990, 2024))
                .arg(rng_.Between(1, 999), 3, 10, QLatin1Char('0'));
        case 2:
            return QStringLiteral("%1%2/%3").arg(prefix).arg(rng_.Between(1, 99)).arg(QChar(u'a' + rng_.Below(6)));
        default:
            return QString::number(rng_.Between(10000, 99999));
        }
    }

    QString FileName()
    {
        QString s = rng_.Pick(v_.finnish) + u'_' + QString::number(rng_.Between(1990, 2024));
        return s + u'.' + rng_.Pick(v_.extensions);
    }

    QString FileLink()
    {
        switch (rng_.Below(4)) {
        case 0:
            return QStringLiteral("C:\\Users\\%1\\Asiakirjat\\%2\\%3")
                .arg(rng_.Pick(v_.firstNames), rng_.Pick(v_.topics), FileName());
        case 1:
            return QStringLiteral("/home/%1/Tutkimus/lähteet/%2").arg(rng_.Pick(v_.firstNames).toLower(), FileName());
        case 2:
            return QStringLiteral("https://example.org/%1/artikkeli?id=%2")
                .arg(rng_.Pick(v_.topics).toLower())
                .arg(rng_.Between(1, 99999));
        default:
            return QStringLiteral("D:\\Äänitteet\\%1").arg(FileName());
        }
    }

    QString MemoLine()
    {
        const int r = rng_.Below(100);
        if (r < 12)
            return QString();  // a paragraph break
        if (r < 20)
            return QStringLiteral("- ") + Phrase(2, 8);
        if (r < 22)
            return QStringLiteral("Ks. %1, %2").arg(Person(), Page());
        if (r < 24)
            return FileLink();
        if (r < 85)
            return Sentence();
        return Sentence() + u' ' + Sentence();
    }

    // Skewed: a quarter of the cards have no Memo, most have a few lines,
    // a few have long ones of up to 200 lines.
    int MemoLineCount()
    {
        const int r = rng_.Below(1000);
        if (r < 250)
            return 0;
        if (r < 750)
            return rng_.Between(1, 6);
        if (r < 930)
            return rng_.Between(7, 20);
        if (r < 985)
            return rng_.Between(21, 60);
        return rng_.Between(61, 200);
    }

    QString Memo()
    {
        const int lines = MemoLineCount();
        QString m;
        for (int i = 0; i < lines; ++i) {
            if (i)
                m += QStringLiteral("\r\n");
            m += MemoLine();
        }
        return m;
    }

    Vocabulary v_;
    Rng rng_;
    QDateTime time_;
};

}  // namespace

CardRows GenerateCards(int count, std::uint64_t seed)
{
    CardMaker maker(seed);
    CardRows rows;
    rows.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        rows.push_back(maker.Make());
    return rows;
}
