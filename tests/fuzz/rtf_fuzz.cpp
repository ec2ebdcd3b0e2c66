// libFuzzer target for ParseRtf: any bytes give a document whose paragraphs
// keep the reader's promises, and reading the same bytes again gives the same
// document.
//   - every run holds text, and neighbouring runs of a paragraph differ in format;
//   - no surrogate code unit stands alone;
//   - sizes, indents, spacing and tab stops stay within their bounds.
#include "rtfparse.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "rtf_fuzz: %s\n", what);
        std::abort();
    }
}

bool Within(double value, double bound)
{
    return value >= -bound && value <= bound;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const RtfDocument document = ParseRtf(bytes);
    for (const RtfParagraph& p : document.paragraphs) {
        for (std::size_t k = 0; k < p.runs.size(); ++k) {
            const RtfRun& run = p.runs[k];
            Check(!run.text.isEmpty(), "an empty run");
            Check(k == 0 || run.format != p.runs[k - 1].format, "neighbouring runs of one format");
            Check(run.format.pointSize >= 1.0 && run.format.pointSize <= 1000.0, "a font size out of bounds");
            const qsizetype n = run.text.size();
            for (qsizetype i = 0; i < n; ++i) {
                const QChar c = run.text.at(i);
                if (c.isHighSurrogate() && i + 1 < n && run.text.at(i + 1).isLowSurrogate())
                    ++i;
                else
                    Check(!c.isSurrogate(), "a lone surrogate");
            }
        }
        for (double length : {p.leftIndent, p.rightIndent, p.firstLineIndent, p.spaceBefore, p.spaceAfter})
            Check(Within(length, 1584.0), "an indent or spacing out of bounds");
        Check(p.tabStops.size() <= 64, "too many tab stops");
        for (double stop : p.tabStops)
            Check(Within(stop, 1584.0), "a tab stop out of bounds");
    }
    const RtfDocument again = ParseRtf(bytes);
    Check(again.paragraphs == document.paragraphs && again.problems == document.problems, "a second reading differs");
    (void)RtfPlainText(document);
    return 0;
}
