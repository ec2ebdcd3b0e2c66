// The main window's card area while a run walks through many cards (find and
// replace over a range): each card is shown, edited in one field and stored
// as always, but the editors that nobody reads until they are drawn get their
// text only when the card area is drawn (at a readable rate) or when the run
// ends, and storing writes only the field the run changed.
//
// While a card is "pending", the view holds the card's texts and the caret of
// the run's field itself; the change handling of a shown Memo is kept: the
// card file counts as changed when a shown Memo differs from the one before,
// and a Memo that might reach the line limit (so that its messages could be
// due) is shown in the editors at once, as without the view. Anything else
// that the editors would not hand back unchanged (line breaks other than CR
// LF, control characters, the document's own marks) is shown at once too.
#pragma once

#include "card.h"
#include "windows.h"

#include <QString>
#include <array>

struct CardFieldEditors;
struct CardStore;
class EditableField;
struct MainWindowLink;
class QPlainTextEdit;

// An upper bound of the display lines of a Memo text in a word-wrapped
// editor, from the advance widths of its characters, without shaping or
// laying the text out. Never below the lines the editor shows.
class MemoLineBound {
public:
    explicit MemoLineBound(const QPlainTextEdit& memo);
    // The bound, counted until it reaches `enough` (then `enough` or more).
    int Lines(const QString& crlfText, int enough) const;

private:
    double Advance(QChar c) const;
    std::array<float, 0x500> advance_{};  // U+0000 to U+04FF
    double wide_ = 0;  // any other code unit
    double tab_ = 0;
    double width_ = 0;  // the text's width inside the editor, less a margin
    double glyph_ = 0;  // the widest glyph, generously
};

class DeferredCardView {
public:
    // For a run that edits cell (0 to 17) in the main window. The run's find
    // and replacement texts decide whether the view may defer at all.
    DeferredCardView(WindowContext& context, int cell, const QString& find, const QString& replacement);
    // Shows the card in the editors as it now stands, the caret of the run's
    // field where the run left it.
    ~DeferredCardView();
    DeferredCardView(const DeferredCardView&) = delete;
    DeferredCardView& operator=(const DeferredCardView&) = delete;

    // The run's field: the editor itself, or the view's text while pending.
    EditableField& Field();
    // Before the card area is drawn: the pending card into the editors.
    void Settle();

    // The main window's show and store come here first; false: do it as
    // always.
    bool Show();
    bool Store();

private:
    class RunField;
    friend class RunField;
    void GoLive();
    bool Plain(const Card& row) const;
    bool MayReachLineLimit(const QString& memo) const;

    MainWindowLink& main_;
    CardFieldEditors& editors_;
    CardStore& s_;
    int cell_;
    EditableField* editor_;
    bool allowed_;
    bool pending_ = false;
    bool inShow_ = false;
    Card shown_;  // the pending card's texts
    qsizetype caret_ = 0;
    MemoLineBound bound_;
    RunField* field_;
};
