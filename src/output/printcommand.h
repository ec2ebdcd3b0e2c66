// The print command that the main window, the picked cards window and the
// listing window share: the window's own print dialog chooses the printer
// and the range, and the page drawer draws each page of the range onto the
// printer's pages.
#pragma once

#include "printstate.h"
#include "windows.h"

#include <QString>
#include <functional>

struct PrintDialogState;

// Prints pages of mode (M = the pages of that mode in all):
//  1. storeCard, when given (the main window stores the card on screen);
//  2. PrintMode = mode; the dialog gets the range 1 ... M, from 1 to M;
//  3. the dialog shows; cancelled, the command ends;
//  4. storeCard again;
//  5. PrintMode = mode again, and the print job begins;
//  6. pixels per page inch = the printer's page width in pixels / 8.268
//     across and its height / 11.693 down, fractions dropped (the page is
//     taken as A4, whatever its size);
//  7. the range: the pages chosen in the dialog, or 1 ... M for all pages;
//  8. each page of the range in ascending order drawn on the printer, with a
//     new page between two pages; a card's "does not fit" note goes into
//     the preview's red label;
//  9. the print job ends, also when a page fails, whose error then goes on
//     to the general error report (the pages sent stay printed).
// Without pages to print (M = 0) nothing happens.
void PrintPages(
    WindowContext& context, PrintDialogState& dialog, PrintMode mode, const std::function<void()>& storeCard = {});

// The general error reports of a printer that fails.
extern const QString PrintJobNotStartedText;
extern const QString NewPageFailedText;
extern const QString PrintJobNotEndedText;
