// The listing text of all cards and the text export, each next to the least
// work that moves the same texts:
//
//   listing   collecting the listing of every card, every box ticked, one card
//             at a time as the listing window does, against appending the
//             same field texts (each followed by CR LF) to one string made
//             big enough first;
//   export    writing the text export of every card to a file, and to a
//             QBuffer, against writing the same bytes there at once;
//   save      the text export of every card saved as the Save As Text
//             commands save it, through SafeSave (a new file beside the
//             target, on the disk, renamed over it), against writing the
//             same bytes into a new file, fdatasync and rename.
//
//   listing_bench [--count=N] [benchmark options]
//
// N generated cards (32000 by default). After the runs it prints each
// operation's time beside its baseline and exits with 1 when a ratio is over
// its target.
#include "benchtable.h"
#include "cardgen.h"

#include "cardstore.h"
#include "listing.h"
#include "safesave.h"
#include "textexport.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>

namespace {

const QString Date = QStringLiteral("7.3.2021");
const QString Time = QStringLiteral("9.05.02");

struct Workspace {
    QTemporaryDir dir;
    CardStore store;
    TextExportOptions options;
    QByteArray exportBytes;  // the text export of every card
    qsizetype listingSize = 0;
    qsizetype fieldChars = 0;

    std::span<const Card> Cards() const { return std::span<const Card>(store.CardTable).first(store.CardCount); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

Workspace* ws = nullptr;

void Listing(benchmark::State& state)
{
    for (auto _ : state) {
        ListingCollector c(ListingKind::AllCards, ws->store, FieldSelection(), Date, Time);
        while (!c.AtEnd())
            c.AppendNext();
        const QString text = c.Finish();
        if (text.size() != ws->listingSize) {
            state.SkipWithError("the listing has the wrong length");
            break;
        }
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * ws->listingSize * 2);
}

void ListingBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        qsizetype size = 0;
        for (const Card& card : ws->Cards())
            for (const QString& cell : card)
                size += cell.size() + 2;
        QString text;
        text.reserve(size);
        for (const Card& card : ws->Cards()) {
            for (const QString& cell : card) {
                text.append(cell);
                text.append(u"\r\n");
            }
        }
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * ws->listingSize * 2);
}

void ExportToFile(benchmark::State& state)
{
    const QString path = ws->Path("export.txt");
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || !WriteTextExport(f, ws->Cards(), ws->options)) {
            state.SkipWithError("WriteTextExport failed");
            break;
        }
        f.close();
    }
    state.SetBytesProcessed(state.iterations() * ws->exportBytes.size());
}

void ExportFileBaseline(benchmark::State& state)
{
    const QString path = ws->Path("baseline.txt");
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(ws->exportBytes) != ws->exportBytes.size()) {
            state.SkipWithError("cannot write the baseline file");
            break;
        }
        f.close();
    }
    state.SetBytesProcessed(state.iterations() * ws->exportBytes.size());
}

void ExportToBuffer(benchmark::State& state)
{
    for (auto _ : state) {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        if (!WriteTextExport(b, ws->Cards(), ws->options) || b.size() != ws->exportBytes.size()) {
            state.SkipWithError("WriteTextExport failed");
            break;
        }
        benchmark::DoNotOptimize(b.data().constData());
    }
    state.SetBytesProcessed(state.iterations() * ws->exportBytes.size());
}

void ExportBufferBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        if (b.write(ws->exportBytes.constData(), ws->exportBytes.size()) != ws->exportBytes.size()) {
            state.SkipWithError("cannot write the baseline buffer");
            break;
        }
        benchmark::DoNotOptimize(b.data().constData());
    }
    state.SetBytesProcessed(state.iterations() * ws->exportBytes.size());
}

void SafeSaveExport(benchmark::State& state)
{
    const QString path = ws->Path("saved.txt");
    for (auto _ : state) {
        const SaveResult r =
            SafeSave(path, [](QIODevice& device) { return WriteTextExport(device, ws->Cards(), ws->options); });
        if (r.status != SaveResult::Ok) {
            state.SkipWithError("SafeSave failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * ws->exportBytes.size());
}

void SafeSaveBaseline(benchmark::State& state)
{
    const QByteArray& bytes = ws->exportBytes;
    for (auto _ : state) {
        if (!WriteSyncRename(ws->Path("baseline-saved.txt"), bytes)) {
            state.SkipWithError("cannot write the baseline file");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

}  // namespace

int main(int argc, char** argv)
{
    std::string countArg;
    int count = 32000;
    if (TakeOption(argc, argv, "--count=", countArg))
        count = std::stoi(countArg);
    if (!StartBenchmarks(argc, argv))
        return 2;

    Workspace w;
    ws = &w;
    if (!w.dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 2;
    }
    w.store.CardTable = GenerateCards(count);
    w.store.CardCount = count;
    w.store.CurrentCard = count - 1;
    w.store.CardFileName = w.Path("cards.kqk");
    w.store.FileOpen = true;
    w.options.date = Date;
    w.options.time = Time;
    w.options.cardFileName = w.store.CardFileName;
    {
        ListingCollector c(ListingKind::AllCards, w.store, FieldSelection(), Date, Time);
        while (!c.AtEnd())
            c.AppendNext();
        w.listingSize = c.Finish().size();
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        if (!WriteTextExport(b, w.Cards(), w.options)) {
            std::fprintf(stderr, "cannot make the text export\n");
            return 2;
        }
        w.exportBytes = b.data();
        for (const Card& card : w.Cards())
            for (const QString& cell : card)
                w.fieldChars += cell.size();
    }
    std::printf("%d cards: field texts %.1f M characters, listing %.1f M characters, text export %.1f MB\n", count,
        static_cast<double>(w.fieldChars) / 1e6, static_cast<double>(w.listingSize) / 1e6,
        static_cast<double>(w.exportBytes.size()) / 1e6);

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("listing/ListingCollector", Listing)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("listing/baseline_append_fields", ListingBaseline)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("export/WriteTextExport_file", ExportToFile)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("export/baseline_QFile_write", ExportFileBaseline)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("export/WriteTextExport_buffer", ExportToBuffer)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("export/baseline_QBuffer_write", ExportBufferBaseline)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("save/SafeSave_WriteTextExport", SafeSaveExport)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("save/baseline_write_sync_rename", SafeSaveBaseline)->Unit(ms)->UseRealTime();

    MedianTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%d cards; real time, median of the repetitions\n", count);
    const bool ok = PrintRatioTable(reporter,
        {
            {"listing", "listing/ListingCollector", "listing/baseline_append_fields", 2.0},
            {"export to a file", "export/WriteTextExport_file", "export/baseline_QFile_write", 3.0},
            {"export to a QBuffer", "export/WriteTextExport_buffer", "export/baseline_QBuffer_write", 4.0},
            {"save through SafeSave", "save/SafeSave_WriteTextExport", "save/baseline_write_sync_rename", 2.0},
        });
    return ok ? 0 : 1;
}
