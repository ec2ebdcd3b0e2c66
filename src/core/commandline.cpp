#include "commandline.h"

namespace {

const QString TryHelp = QStringLiteral("Try 'cardomo --help' for more information.\n");

CommandLine Error(const QString& what)
{
    CommandLine line;
    line.kind = CommandLine::Kind::Error;
    line.message = QStringLiteral("cardomo: ") + what + u'\n' + TryHelp;
    return line;
}

}  // namespace

CommandLine ReadCommandLine(const QStringList& args)
{
    QStringList files;
    QString unknown;
    bool optionsEnd = false;
    for (const QString& arg : args) {
        if (optionsEnd || arg == QLatin1String("-") || !arg.startsWith(u'-')) {
            files << arg;
        } else if (arg == QLatin1String("--")) {
            optionsEnd = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            return {CommandLine::Kind::Help, {}, {}};
        } else if (arg == QLatin1String("-v") || arg == QLatin1String("--version")) {
            return {CommandLine::Kind::Version, {}, {}};
        } else if (unknown.isEmpty()) {
            unknown = arg;
        }
    }
    if (!unknown.isEmpty())
        return Error(QStringLiteral("unknown option '") + unknown + u'\'');
    if (files.size() > 1)
        return Error(QStringLiteral("only one card file can be opened at a time; ") + QString::number(files.size())
            + QStringLiteral(" were given: ") + files.join(QStringLiteral(", ")));
    return {CommandLine::Kind::Run, files, {}};
}

QString CommandLineHelp()
{
    return QStringLiteral("Usage: cardomo [options] [cardfile]\n"
                          "Note Card Software: a card file database.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     Displays help on commandline options.\n"
                          "  -v, --version  Displays version information.\n"
                          "\n"
                          "Arguments:\n"
                          "  cardfile       The card file (.kqk) to open.\n");
}
