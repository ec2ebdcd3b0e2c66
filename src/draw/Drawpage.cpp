#include "Drawpage.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The nearest integer, a half going to the even neighbour, whatever the
// floating-point rounding mode; clamped to the range of int.
int RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double below = std::floor(value);
    const double rest = value - below;
    double rounded = below;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(rounded);
}

// The rows and the count of the cards a card page shows.
struct CardSource {
    const CardRows* rows;
    int count;
};

CardSource CardsOf(const PageSources& sources)
{
    if (sources.print.PrintMode == PrintMode::PickedCardPrint)
        return {&sources.store.PickedTable, sources.store.PickedCount};
    return {&sources.store.CardTable, sources.store.CardCount};
}

bool IsCardMode(PrintMode mode)
{
    return mode == PrintMode::CardPrint || mode == PrintMode::PickedCardPrint;
}

// A card page draws its first 51 display lines; more than 49 get the note.
constexpr int CardPageMostLines = 51;
constexpr int CardPageFittingLines = 49;

}  // namespace

QString CardDoesNotFitNote(int n)
{
    return u"Card " + QString::number(n)
        + u" does not fit entirely to the Preview Page. Please use the Preview feature of the Listing Form (F7)";
}

int PageInchesToPixels(double inches, int pixelsPerInch)
{
    return RoundHalfEven(inches * pixelsPerInch);
}

int PageFontPoints(const PageContext& context, int size)
{
    if (!context.scaleFonts)
        return size;
    if (context.screenPixelsPerInch <= 0)
        return std::max(size, 1);
    const double scaled =
        static_cast<double>(size) * context.pixelsPerInchY / static_cast<double>(context.screenPixelsPerInch);
    // A bitmap of a few pixels would ask for 0 points, which no font has.
    return std::max(RoundHalfEven(scaled), 1);
}

void SetPageFont(PageContext& context, const QString& name, PageFontStyle style, int size)
{
    QFont font(name);
    font.setPointSize(PageFontPoints(context, size));
    font.setItalic(style == PageFontStyle::Italic);
    context.canvas->setFont(font);
}

void TextOutInches(PageContext& context, double x, double y, const QString& text)
{
    if (text.isEmpty())
        return;
    QPainter& canvas = *context.canvas;
    const int column = PageInchesToPixels(x, context.pixelsPerInchX);
    const int row = PageInchesToPixels(y, context.pixelsPerInchY);
    // QPainter places a text by its base line; the page by its top left corner.
    canvas.drawText(QPoint(column, row + canvas.fontMetrics().ascent()), text);
}

double TextWidthInches(const PageContext& context, const QString& text)
{
    if (context.pixelsPerInchX <= 0)
        return 0.0;
    return context.canvas->fontMetrics().horizontalAdvance(text) / static_cast<double>(context.pixelsPerInchX);
}

double TextHeightInches(const PageContext& context, const QString& /*text*/)
{
    if (context.pixelsPerInchY <= 0)
        return 0.0;
    // A line of text is as high as the font's ascent and descent together,
    // whatever letters it holds; no leading is added.
    return context.canvas->fontMetrics().height() / static_cast<double>(context.pixelsPerInchY);
}

QString PageTitle(PrintMode mode, const QString& date, const QString& time)
{
    QString title;
    switch (mode) {
    case PrintMode::CardPrint:
        title = QStringLiteral("Card Print   ");
        break;
    case PrintMode::PickedCardPrint:
        title = QStringLiteral("Picked Card Print   ");
        break;
    case PrintMode::ListPrint:
        title = QStringLiteral("List Print   ");
        break;
    default:
        return QString();
    }
    return title + date + u' ' + time;
}

QString PageFooterText(const PageSources& sources, int n)
{
    const CardStore& store = sources.store;
    switch (sources.print.PrintMode) {
    case PrintMode::CardPrint:
        return u"Card " + QString::number(n) + u'/' + QString::number(store.CardCount) + u"  " + store.CardFileName;
    case PrintMode::PickedCardPrint:
        return u"Card " + QString::number(n) + u'/' + QString::number(store.PickedCount) + u"  " + store.CardFileName;
    case PrintMode::ListPrint:
        return u"Page " + QString::number(n) + u'/' + QString::number(sources.print.ListingPageCount) + u"  "
            + store.CardFileName;
    }
    return QString();
}

QString CardPageText(const Card& card, int n)
{
    QString text;
    text.reserve(card[MemoCell].size() + 512);
    text += u"*===" + card[CardIdCell] + u"=========" + QString::number(n) + CrLf;
    text += CrLf;
    text += card[0] + u"   " + card[1] + u"   " + card[2] + u"   " + card[3] + u' ' + card[4] + u' ' + card[5] + u", "
        + card[6] + CrLf;
    text += CrLf;
    text += u"   Topic:          " + card[7] + CrLf;
    text += u"   Keywords:  " + card[8] + CrLf;
    text += u"   File link:      " + card[9] + CrLf;
    text += u"   Code1:        " + card[10] + CrLf;
    text += u"   Code2:        " + card[11] + CrLf;
    text += u"   Code3:        " + card[12] + CrLf;
    text += u"   Action date:  " + card[13] + u' ' + card[14] + u' ' + card[15] + u"  " + card[16] + CrLf;
    text += CrLf;
    text += card[MemoCell] + CrLf;
    return text;
}

void DrawPageHeader(PageContext& context, const PageSources& sources)
{
    SetPageFont(context, context.headerFontName, PageFontStyle::Italic, context.headerFontSize);
    TextOutInches(context, 0.5, 0.3, QStringLiteral("Cardomo 0.5 beta (v. 0.5.1.0.2)"));
    const QString title = PageTitle(sources.print.PrintMode, sources.date, sources.time);
    TextOutInches(context, 8.0 - TextWidthInches(context, title), 0.3, title);
}

void DrawPageFooter(PageContext& context, const PageSources& sources, int n)
{
    SetPageFont(context, context.headerFontName, PageFontStyle::Italic, context.headerFontSize);
    TextOutInches(context, 0.5, 11.5, PageFooterText(sources, n));
}

QString DrawPageBody(PageContext& context, const PageSources& sources, int n)
{
    SetPageFont(context, context.bodyFontName, PageFontStyle::Regular, context.bodyFontSize);
    const PrintMode mode = sources.print.PrintMode;
    Piilomemo& box = sources.print.piilomemo;
    box.Clear();
    if (IsCardMode(mode)) {
        const CardSource cards = CardsOf(sources);
        if (n >= 1 && n <= cards.count && static_cast<size_t>(n - 1) < cards.rows->size())
            box.SetText(CardPageText((*cards.rows)[static_cast<size_t>(n - 1)], n));
    } else if (mode == PrintMode::ListPrint) {
        const std::vector<ListingPage>& pages = sources.print.ListingPages;
        if (n >= 1 && n <= sources.print.ListingPageCount && static_cast<size_t>(n - 1) < pages.size()) {
            for (const QString& line : pages[static_cast<size_t>(n - 1)])
                box.Add(line);
        }
    }

    const QStringList& lines = box.Lines();
    const double lineHeight = TextHeightInches(context, QStringLiteral("M"));
    double y = 0.6;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (IsCardMode(mode) && i >= CardPageMostLines)
            break;
        TextOutInches(context, 1.0, y, lines[i]);
        y += lineHeight;
    }
    if (IsCardMode(mode) && lines.size() > CardPageFittingLines)
        return CardDoesNotFitNote(n);
    return QString();
}

QString DrawPage(QPainter& canvas, int n, int /*pageWidth*/, int /*pageHeight*/, bool scaleFonts, int pixelsPerInchX,
    int pixelsPerInchY, const PageSources& sources)
{
    canvas.save();
    PageContext context;
    context.canvas = &canvas;
    context.scaleFonts = scaleFonts;
    context.pixelsPerInchX = pixelsPerInchX;
    context.pixelsPerInchY = pixelsPerInchY;
    context.screenPixelsPerInch = sources.screenPixelsPerInch;
    if (QPaintDevice* device = canvas.device())
        canvas.fillRect(QRect(0, 0, device->width(), device->height()), Qt::white);
    canvas.setPen(Qt::black);

    context.bodyFontName = QStringLiteral("Arial");
    context.headerFontName = QStringLiteral("Arial");
    context.bodyFontSize = 12;
    context.headerFontSize = 12;
    DrawPageHeader(context, sources);
    DrawPageFooter(context, sources, n);
    QString note = DrawPageBody(context, sources, n);
    canvas.restore();
    return note;
}
