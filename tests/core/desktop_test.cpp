// What the program hands the desktop: file links and time formats.
#include "filelink.h"
#include "support/qtprinters.h"
#include "timeformat.h"

#include <gtest/gtest.h>

TEST(FileLinkTarget, AddressesStayAddressesAndEverythingElseIsALocalPath)
{
    struct Case {
        QString link;
        QString url;
    };
    const Case cases[] = {
        {QStringLiteral("https://example.org/a?b=c"), QStringLiteral("https://example.org/a?b=c")},
        {QStringLiteral("http://example.org"), QStringLiteral("http://example.org")},
        {QStringLiteral("mailto:someone@example.org"), QStringLiteral("mailto:someone@example.org")},
        {QStringLiteral("file:///home/a/notes.pdf"), QStringLiteral("file:///home/a/notes.pdf")},
        {QStringLiteral("HTTPS://EXAMPLE.ORG/X"), QStringLiteral("https://example.org/X")},
        {QStringLiteral("notes.pdf"), QStringLiteral("file:///home/ann/cards/notes.pdf")},
        {QStringLiteral("sub/notes 2.pdf"), QStringLiteral("file:///home/ann/cards/sub/notes%202.pdf")},
        {QStringLiteral("/home/a/b#c.pdf"), QStringLiteral("file:///home/a/b%23c.pdf")},
        {QStringLiteral("www.example.org"), QStringLiteral("file:///home/ann/cards/www.example.org")},
        {QString(), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link.toStdString());
        EXPECT_EQ(FileLinkTarget(c.link, QStringLiteral("/home/ann/cards")).toString(QUrl::FullyEncoded), c.url);
    }
}

TEST(WithoutTimeZone, DropsTheZoneAndTheBlanksBeforeIt)
{
    struct Case {
        QString format;
        QString without;
    };
    const Case cases[] = {
        {QStringLiteral("HH:mm:ss t"), QStringLiteral("HH:mm:ss")},
        {QStringLiteral("h:mm:ss AP t"), QStringLiteral("h:mm:ss AP")},
        {QStringLiteral("HH.mm.ss"), QStringLiteral("HH.mm.ss")},
        {QStringLiteral("t HH:mm"), QStringLiteral("HH:mm")},
        {QStringLiteral("HH:mm:ss tttt"), QStringLiteral("HH:mm:ss")},
        {QStringLiteral("HH 'o''clock' t"), QStringLiteral("HH 'o''clock'")},
        {QStringLiteral("HH 'at' mm"), QStringLiteral("HH 'at' mm")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format.toStdString());
        EXPECT_EQ(WithoutTimeZone(c.format), c.without);
    }
}
