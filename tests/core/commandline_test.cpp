#include "commandline.h"

#include <gtest/gtest.h>

TEST(CommandLine, HelpVersionOneCardFileOrAUsageError)
{
    using Kind = CommandLine::Kind;
    const QString tryHelp = QStringLiteral("Try 'cardomo --help' for more information.\n");
    struct Case {
        QStringList args;
        Kind kind;
        QStringList cardFiles;
        QString message;
    };
    const Case cases[] = {
        {{}, Kind::Run, {}, {}},
        {{QStringLiteral("cards.kqk")}, Kind::Run, {QStringLiteral("cards.kqk")}, {}},
        {{QStringLiteral("")}, Kind::Run, {QStringLiteral("")}, {}},  // opened, and its failure reported
        {{QStringLiteral("-")}, Kind::Run, {QStringLiteral("-")}, {}},
        {{QStringLiteral("--"), QStringLiteral("-odd.kqk")}, Kind::Run, {QStringLiteral("-odd.kqk")}, {}},
        {{QStringLiteral("--help")}, Kind::Help, {}, {}},
        {{QStringLiteral("-h")}, Kind::Help, {}, {}},
        {{QStringLiteral("a.kqk"), QStringLiteral("--bogus"), QStringLiteral("-h")}, Kind::Help, {}, {}},
        {{QStringLiteral("--version")}, Kind::Version, {}, {}},
        {{QStringLiteral("-v"), QStringLiteral("b.kqk")}, Kind::Version, {}, {}},
        {{QStringLiteral("--"), QStringLiteral("--help")}, Kind::Run, {QStringLiteral("--help")}, {}},
        {{QStringLiteral("--help-all")}, Kind::Error, {},
            QStringLiteral("cardomo: unknown option '--help-all'\n") + tryHelp},
        {{QStringLiteral("a.kqk"), QStringLiteral("-x"), QStringLiteral("--y")}, Kind::Error, {},
            QStringLiteral("cardomo: unknown option '-x'\n") + tryHelp},
        {{QStringLiteral("a.kqk"), QStringLiteral("b.kqk")}, Kind::Error, {},
            QStringLiteral("cardomo: only one card file can be opened at a time; 2 were given: a.kqk, b.kqk\n")
                + tryHelp},
        {{QStringLiteral("a.kqk"), QStringLiteral("--"), QStringLiteral("-b.kqk"), QStringLiteral("c d.kqk")},
            Kind::Error, {},
            QStringLiteral(
                "cardomo: only one card file can be opened at a time; 3 were given: a.kqk, -b.kqk, c d.kqk\n")
                + tryHelp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const CommandLine line = ReadCommandLine(c.args);
        EXPECT_EQ(line.kind, c.kind);
        EXPECT_EQ(line.cardFiles, c.cardFiles);
        EXPECT_EQ(line.message, c.message);
    }
}
