// The page drawer: draws one page of cards or of a listing onto a canvas, the
// printer's page or the preview's bitmap. Positions are in inches of an A4
// page; the caller says how many device pixels make an inch across and down,
// so the same drawing serves the printer and the preview at any size.
//
// Every page has two header texts at the top, a footer at the bottom and the
// body between them, broken into lines by the state's Piilomemo:
//
//     header, left    "Cardomo 0.5 beta (v. 0.5.1.0.2)"  Arial italic 12 pt  x 0.5, y 0.3
//     header, right   "Card Print   " + D + " " + T       Arial italic 12 pt  ends at x 8.0, y 0.3
//     footer          "Card " + n + "/" + CardCount + "  " + CardFileName     x 0.5, y 11.5
//     body lines      Arial 12 pt, x 1.0, first at y 0.6, each next lower by the height of "M"
//
// A position in page inches is drawn at the device pixel x * pixels per inch
// across, y * pixels per inch down, each taken to the nearest integer with a
// half going to the even neighbour; texts are placed by their top left corner.
//
// Typical use by the preview (scaleFonts on) and the printer (off):
//
//     QPainter painter(&bitmap);
//     PageSources sources{store, print, date, time, screenDpi};
//     QString note = DrawPage(painter, page, bitmap.width(), bitmap.height(), true, ppiX, ppiY, sources);
//     if (!note.isEmpty())
//         Label2->setText(note);
#pragma once

#include "cardstore.h"
#include "printstate.h"

#include <QString>

class QPainter;

// The font styles of a page.
enum class PageFontStyle { Regular, Italic };

// What a page is drawn from besides the canvas.
struct PageSources {
    const CardStore& store;  // the cards, their counts and CardFileName
    PrintState& print;  // PrintMode, ListingPages, ListingPageCount; its Piilomemo gets the body
    QString date;  // D: the date of the moment of drawing, in the user's short date format
    QString time;  // T: the time of the moment of drawing, in the user's long time format
    int screenPixelsPerInch = 96;  // the screen's pixels per inch, for the preview's font scaling
};

// The drawer's state while it draws one page; DrawPage sets all of it anew.
struct PageContext {
    QPainter* canvas = nullptr;
    QString bodyFontName = QStringLiteral("Arial");
    QString headerFontName = QStringLiteral("Arial");
    int bodyFontSize = 12;  // points
    int headerFontSize = 12;  // points
    int pixelsPerInchX = 0;  // device pixels per page inch across
    int pixelsPerInchY = 0;  // device pixels per page inch down
    bool scaleFonts = false;  // true for the preview, false for the printer
    int screenPixelsPerInch = 96;
};

// The note for a card whose body has more than 49 display lines: "Card " + n +
// " does not fit entirely to the Preview Page. Please use the Preview feature
// of the Listing Form (F7)".
QString CardDoesNotFitNote(int n);

// x * pixelsPerInch to the nearest integer, a half to the even neighbour.
int PageInchesToPixels(double inches, int pixelsPerInch);

// The point size the canvas font gets: size, or with scaleFonts
// size * pixelsPerInchY / screenPixelsPerInch to the nearest integer (a half
// to the even neighbour), at least 1.
int PageFontPoints(const PageContext& context, int size);

// Sets the canvas font from a name, a style and a point size (scaled for the
// preview, see PageFontPoints). Point sizes are taken at the canvas device's
// logical pixels per inch (a QImage's dots per meter, 96 by default; a
// printer's resolution).
void SetPageFont(PageContext& context, const QString& name, PageFontStyle style, int size);
// Draws text with its top left corner at page inches (x, y) in the canvas font.
void TextOutInches(PageContext& context, double x, double y, const QString& text);
// The text's width in the canvas font in device pixels / pixels per inch across.
double TextWidthInches(const PageContext& context, const QString& text);
// The text's height in the canvas font in device pixels / pixels per inch
// down: the height of one line of the font (ascent and descent, no leading),
// the same for every single-line text.
double TextHeightInches(const PageContext& context, const QString& text);

// The right header text of the mode: "Card Print   ", "Picked Card Print   "
// or "List Print   " + date + " " + time.
QString PageTitle(PrintMode mode, const QString& date, const QString& time);
// The footer of page n: "Card " + n + "/" + CardCount (PickedCount for picked
// cards) + "  " + CardFileName, or "Page " + n + "/" + ListingPageCount + "  "
// + CardFileName for the listing.
QString PageFooterText(const PageSources& sources, int n);
// The paragraphs of a card's page body, each followed by CR LF; n is the
// card's page number. The Memo keeps its own line breaks.
QString CardPageText(const Card& card, int n);

void DrawPageHeader(PageContext& context, const PageSources& sources);
void DrawPageFooter(PageContext& context, const PageSources& sources, int n);
// Fills Piilomemo with the body of page n and draws its display lines: a card
// page draws at most 51 lines, a listing page all of them. Returns the note of
// a card whose body has more than 49 display lines, else an empty text. A page
// n outside the cards or the listing pages gets an empty body.
QString DrawPageBody(PageContext& context, const PageSources& sources, int n);

// Draws page n (1-based) of the current PrintMode on the canvas: clears the
// canvas device's whole area to white, then the header, the footer and the
// body. pageWidth and pageHeight (device pixels) are not used. Returns the
// body's note (see DrawPageBody) for the preview's warning label.
QString DrawPage(QPainter& canvas, int n, int pageWidth, int pageHeight, bool scaleFonts, int pixelsPerInchX,
    int pixelsPerInchY, const PageSources& sources);
