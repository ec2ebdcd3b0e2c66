// gen-cards N OUT.kqk [SEED]: writes N generated cards as a card file.
#include "cardgen.h"

#include "cardfile.h"
#include "generalerror.h"

#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: gen-cards N OUT.kqk [SEED]\n");
        return 2;
    }
    char* end = nullptr;
    const long n = std::strtol(argv[1], &end, 10);
    if (*end || n < 0 || n > 32000) {
        std::fprintf(stderr, "gen-cards: N must be a whole number from 0 to 32000\n");
        return 2;
    }
    std::uint64_t seed = DefaultCardSeed;
    if (argc == 4) {
        seed = std::strtoull(argv[3], &end, 10);
        if (*end) {
            std::fprintf(stderr, "gen-cards: SEED must be a whole number\n");
            return 2;
        }
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    const CardRows rows = GenerateCards(static_cast<int>(n), seed);
    try {
        const CardFileWriteResult r = WriteCardFile(out, rows, static_cast<int>(n), MainFileHeaderText);
        if (r.status != CardFileWriteResult::Ok) {
            std::fprintf(stderr, "gen-cards: %s\n", qPrintable(r.errorText));
            return 1;
        }
    } catch (const GeneralError& e) {
        std::fprintf(stderr, "gen-cards: %s\n", qPrintable(e.text()));
        return 1;
    }
    const qint64 bytes = QFileInfo(out).size();
    std::printf("%ld cards, %lld bytes (%.1f MB) in %s\n", n, static_cast<long long>(bytes), bytes / 1e6, argv[2]);
    return 0;
}
