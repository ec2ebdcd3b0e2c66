#include "paragraphs.h"

#include <gtest/gtest.h>

TEST(UnwrapParagraphs, JoinsTheLinesOfEachParagraph)
{
    struct Case {
        const char* name;
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {"two paragraphs",
            QStringLiteral("Permission is hereby granted,\nfree of charge.\n\nTHE SOFTWARE IS\nPROVIDED \"AS IS\".\n"),
            QStringLiteral("Permission is hereby granted, free of charge.\n\nTHE SOFTWARE IS PROVIDED \"AS IS\".\n")},
        {"CR LF line ends", QStringLiteral("a\r\nb\r\n\r\nc"), QStringLiteral("a b\n\nc")},
        {"blanks at the join", QStringLiteral("one  \n   two\n"), QStringLiteral("one two\n")},
        {"several empty lines stay", QStringLiteral("a\n\n\nb"), QStringLiteral("a\n\n\nb")},
        {"a heading line alone", QStringLiteral("Title\n\nBody"), QStringLiteral("Title\n\nBody")},
        {"leading empty line", QStringLiteral("\na\nb"), QStringLiteral("\na b")},
        {"empty text", QString(), QString()},
        {"a line of blanks parts paragraphs", QStringLiteral("a\n   \nb"), QStringLiteral("a\n\nb")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UnwrapParagraphs(c.text), c.expected);
    }
}
