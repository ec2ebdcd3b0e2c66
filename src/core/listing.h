// The listing text: a plain-text rendering of cards with a header, one card
// block per card and a footer, lines ended by CR LF. Four producers make it:
// all cards and the current card of the main window, all picked cards and the
// current picked card of the picked cards window.
//
// A listing of many cards is collected card by card, so that the window can
// process events and look at the Esc key between the cards:
//
//     ListingCollector c(ListingKind::AllCards, store, selection, date, time);
//     while (!c.AtEnd()) {
//         if (c.ShowsWaitWindow())
//             wait->setWindowTitle(c.WaitCaption());
//         c.AppendNext();
//         processEvents();
//         if (escHeld)
//             break;
//     }
//     memo->setPlainText(c.Finish());   // the footer comes also after a break
//     listing->setWindowTitle(c.WindowCaption());
#pragma once

#include "card.h"
#include "cardstore.h"

#include <QString>
#include <array>

enum class ListingKind {
    AllCards,  // every card of the card file, with the field selection
    CurrentCard,  // the main window's current card, every field
    PickedCards,  // every picked card, with the field selection
    CurrentPickedCard,  // the picked cards window's current card, every field
};

// The field selection of the listing: one box per field (cells 0 to 18) and
// one for the separator line between the cards. All twenty are ticked at start.
struct FieldSelection {
    static constexpr int BoxCount = 20;
    static constexpr int SeparatorBox = 19;  // "Show the line between the cards"

    std::array<bool, BoxCount> boxes;

    FieldSelection() { boxes.fill(true); }
    static FieldSelection Nothing();  // all twenty cleared

    bool Field(int cell) const { return boxes[static_cast<size_t>(cell)]; }
    bool SeparatorLine() const { return boxes[SeparatorBox]; }
    void SelectAll() { boxes.fill(true); }
    void DeselectAll() { boxes.fill(false); }

    friend bool operator==(const FieldSelection&, const FieldSelection&) = default;
};

// Caption of check box 0 to 19 ("Title 1" ... "Card ID", "Show the line
// between the cards"); box k ticks cell k.
QString FieldSelectionCaption(int box);

// "===============================================" (47 equals signs); the
// separator line is this followed by the card's number.
extern const QString ListingSeparator;
// "== Cardomo 0.5 beta (v.0.5.1.0.2) Note Card Software =="
extern const QString ListingBanner;

// Caption of the wait window before the card of 0-based row k of a table of
// n rows: "Collecting listing k/n  CARDOMO 0.5 beta" for the main window's
// listings, "Collecting the listing k/n   CARDOMO 0.5 beta" for the picked.
QString ListingWaitCaption(ListingKind kind, int k, int n);

// Caption of the listing window: "Listing  " + the file name part of
// cardFileName + " - CARDOMO 0.5 beta" (all cards), "Listing  " + cardFileName
// as held + " - CARDOMO 0.5 beta" (current card), "Listing of the picked
// cards - CARDOMO 0.5 beta" (both picked listings).
QString ListingWindowCaption(ListingKind kind, const QString& cardFileName);

// True when the producer shows the wait window while it collects: all cards
// with more than 50 cards, both picked listings with more than 50 picked cards
// (the current picked card too), never the current card.
bool ListingShowsWaitWindow(ListingKind kind, const CardStore& store);

// Builds the listing text into one string that grows at its end. The caller
// writes the header, then the card blocks in row order, then the footer; the
// text is whole at every point in between apart from what is still to come.
class ListingBuilder {
public:
    // The selection is read by AllCards and PickedCards only; the two
    // current-card listings always show every field.
    explicit ListingBuilder(ListingKind kind, const FieldSelection& selection = FieldSelection());

    ListingKind Kind() const { return kind_; }

    // The header lines. date and time are the short date and the long time
    // as the user's locale writes them; tableCount is the count line's
    // number (CardCount or PickedCount), unused by the current-card listings.
    void Header(const QString& date, const QString& time, int tableCount = 0);
    // One card block; n is the card's 1-based number in its table.
    void AppendCard(const Card& card, int n);
    // The footer lines, naming the card file as held.
    void Footer(const QString& cardFileName);

    // Characters the card block of card n takes, and the footer.
    qsizetype CardBlockSize(const Card& card, int n) const;
    qsizetype FooterSize(const QString& cardFileName) const;
    // Makes room for the blocks of rows first to end - 1 (numbered row + 1)
    // and the footer, so that the text is not moved while it grows.
    void ReserveFor(const CardRows& rows, int first, int end, const QString& cardFileName);

    const QString& Text() const { return text_; }
    QString TakeText() { return std::move(text_); }

private:
    ListingKind kind_;
    FieldSelection selection_;
    QString text_;
};

// One listing of the card store from start to end: the rows of the producer,
// the header written at construction, a card block per AppendNext and the
// footer at Finish. It keeps a reference to the store, which must outlive it;
// rows that disappear from the table while the caller processes events end
// the listing early instead of being read.
class ListingCollector {
public:
    ListingCollector(ListingKind kind, const CardStore& store, const FieldSelection& selection, const QString& date,
        const QString& time);

    ListingKind Kind() const { return builder_.Kind(); }
    bool ShowsWaitWindow() const { return showsWait_; }
    // Card blocks this listing holds when it runs to its end (0 or 1 for the
    // current-card listings).
    int CardsToList() const { return end_ - first_; }
    // Card blocks written so far.
    int Listed() const { return next_ - first_; }
    bool AtEnd() const;
    // The wait window's caption for the card about to be listed.
    QString WaitCaption() const { return ListingWaitCaption(Kind(), next_, tableCount_); }
    // Writes the next card's block; does nothing at the end.
    void AppendNext();
    // The text written so far: the header and the card blocks (whole lines).
    const QString& TextSoFar() const { return builder_.Text(); }
    // Writes the footer (also after an interruption) and hands the text over.
    QString Finish();
    QString WindowCaption() const { return ListingWindowCaption(Kind(), cardFileName_); }

private:
    const CardRows& rows_;
    ListingBuilder builder_;
    QString cardFileName_;
    int first_ = 0;
    int next_ = 0;
    int end_ = 0;
    int tableCount_ = 0;
    bool showsWait_ = false;
};
