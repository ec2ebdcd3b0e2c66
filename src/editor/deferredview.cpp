#include "deferredview.h"

#include "Unit15.h"
#include "cardstore.h"
#include "fieldeditors.h"
#include "inputrules.h"
#include "textfind.h"
#include "windowlinks.h"
#include "windows.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>
#include <cmath>

namespace {

// A character the editors keep as it is, line breaks aside.
bool Ordinary(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20)
        return u == u'\t';
    return u != 0x2028 && u != 0x2029 && u != 0xfdd0 && u != 0xfdd1 && u != 0xfffc;
}

bool Ordinary(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return Ordinary(c); });
}

// The Memo with CR LF line breaks and nothing else out of the ordinary.
bool OrdinaryMemo(QStringView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            ++i;
            continue;
        }
        if (!Ordinary(c))
            return false;
    }
    return true;
}

// Where a line may surely be broken before c: after spaces that follow a
// letter, a digit or a full stop, comma, colon, semicolon, exclamation or
// question mark, before a letter or a digit (Latin script). A line breaker
// that follows the Unicode rules breaks there among other places.
bool PlainLetter(QChar c)
{
    return c.unicode() < 0x250 && c.isLetterOrNumber();
}

bool BreaksAfterSpacesFrom(QChar c)
{
    return PlainLetter(c) || c == u'.' || c == u',' || c == u':' || c == u';' || c == u'!' || c == u'?';
}

}  // namespace

// ---------------------------------------------------------------------------
// MemoLineBound
//
// In a word-wrapped paragraph, each line but the last was ended because the
// next piece (a stretch between two break places, or the next character of a
// piece wider than the line) did not fit on it: such a line is wider than the
// line's width less the widest piece. So the paragraph has at most
// 1 + (its width) / (line width - widest piece) lines, and when a piece is
// wider than the line, at most 2 + 2 × (its width) / (line width - widest
// glyph) (two lines after each other hold more than a line's width less a
// glyph). Widths are over-estimated from each character's advance, with room
// for kerning and for fonts that stand in for missing characters.

MemoLineBound::MemoLineBound(const QPlainTextEdit& memo)
{
    const QFont font = memo.document()->defaultFont();
    const QFontMetricsF metrics(font);
    const double em = std::max<double>(metrics.height(), font.pixelSize() > 0 ? font.pixelSize() : 0);
    for (size_t u = 0; u < advance_.size(); ++u) {
        const QChar c(static_cast<char16_t>(u));
        double a = u < 0x20 ? em : metrics.horizontalAdvance(c);
        if (c.isSurrogate() || !std::isfinite(a) || a < 0)
            a = 3 * em;
        advance_[u] = static_cast<float>(a * 1.2 + 0.5);
    }
    wide_ = 3 * em;
    tab_ = memo.tabStopDistance() + em;
    glyph_ = 4 * em;
    width_ = memo.viewport()->width() - 2 * memo.document()->documentMargin() - 8;
}

double MemoLineBound::Advance(QChar c) const
{
    const char16_t u = c.unicode();
    if (u == u'\t')
        return tab_;
    return u < advance_.size() ? advance_[u] : wide_;
}

int MemoLineBound::Lines(const QString& crlfText, int enough) const
{
    if (width_ <= glyph_)
        return enough;
    int lines = 0;
    const qsizetype n = crlfText.size();
    qsizetype i = 0;
    while (i <= n && lines < enough) {
        // One paragraph: its width, and its widest piece between break places.
        double width = 0, piece = 0, widest = 0;
        for (; i < n && crlfText[i] != u'\r'; ++i) {
            const QChar c = crlfText[i];
            if (PlainLetter(c) && i >= 2 && crlfText[i - 1] == u' ') {
                qsizetype b = i - 1;
                while (b > 0 && crlfText[b - 1] == u' ')
                    --b;
                if (b > 0 && BreaksAfterSpacesFrom(crlfText[b - 1])) {
                    widest = std::max(widest, piece);
                    piece = 0;
                }
            }
            const double a = Advance(c);
            width += a;
            piece += a;
        }
        widest = std::max(widest, piece);
        double paragraph = 1;
        if (width > width_) {
            if (widest < width_ - glyph_)
                paragraph = 1 + std::floor(width / (width_ - std::max(widest, glyph_)));
            else
                paragraph = 2 + 2 * std::floor(width / (width_ - glyph_));
        }
        lines += static_cast<int>(std::min<double>(paragraph, enough));
        i += 2;  // CR LF
    }
    return std::min(lines, enough);
}

// ---------------------------------------------------------------------------
// DeferredCardView

class DeferredCardView::RunField : public EditableField {
public:
    explicit RunField(DeferredCardView& view) : v(view) { }

    QString EditText() const override { return v.pending_ ? v.shown_[v.cell_] : v.editor_->EditText(); }
    qsizetype SelectionEnd() const override { return v.caret_; }
    void CaretToStart() override
    {
        v.caret_ = 0;
        if (!v.pending_)
            v.editor_->CaretToStart();
    }
    void ReplaceRange(qsizetype start, qsizetype length, const QString& text) override
    {
        if (v.pending_) {
            QString next = v.shown_[v.cell_];
            next.replace(start, length, text);
            if (v.cell_ != MemoCell || !v.MayReachLineLimit(next)) {
                v.shown_[v.cell_] = next;
                v.caret_ = start + text.size();
                if (v.cell_ == MemoCell)
                    v.s_.CardFileChanged = true;  // any change of the Memo's text
                return;
            }
            // Its line-limit messages may be due: the card into the editors
            // and the replacement made there.
            v.GoLive();
        }
        v.editor_->ReplaceRange(start, length, text);
        v.caret_ = start + text.size();
    }

private:
    DeferredCardView& v;
};

DeferredCardView::DeferredCardView(WindowContext& context, int cell, const QString& find, const QString& replacement)
    : main_(*context.windows.main),
      editors_(*main_.editors),
      s_(context.store),
      cell_(cell),
      editor_(dynamic_cast<EditableField*>(editors_.editors[static_cast<size_t>(cell)])),
      // The Memo's find window works on the editor itself while it is open.
      allowed_(editor_ && Ordinary(find) && Ordinary(replacement)
          && !(context.windows.form15 && context.windows.form15->isVisible())),
      bound_(*editors_.memoMUISTIINPANO),
      field_(new RunField(*this))
{
    main_.deferView(this);
}

DeferredCardView::~DeferredCardView()
{
    main_.deferView(nullptr);
    Settle();
    // The caret of the run's field where the run left it.
    QWidget* e = editors_.editors[static_cast<size_t>(cell_)];
    if (auto* line = qobject_cast<QLineEdit*>(e)) {
        line->setCursorPosition(static_cast<int>(caret_));
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(e)) {
        qsizetype at = caret_;
        if (cell_ == MemoCell)
            at = RawPosition(box->document()->toRawText(), caret_);
        QTextCursor c(box->document());
        c.setPosition(static_cast<int>(std::min<qsizetype>(at, box->document()->characterCount() - 1)));
        box->setTextCursor(c);
    }
    delete field_;
}

EditableField& DeferredCardView::Field()
{
    return *field_;
}

void DeferredCardView::Settle()
{
    if (pending_)
        GoLive();
}

void DeferredCardView::GoLive()
{
    pending_ = false;
    inShow_ = true;
    main_.showCard();
    inShow_ = false;
}

bool DeferredCardView::Plain(const Card& row) const
{
    for (int c = 0; c < MemoCell; ++c)
        if (!Ordinary(row[static_cast<size_t>(c)]))
            return false;
    return OrdinaryMemo(row[MemoCell]);
}

bool DeferredCardView::MayReachLineLimit(const QString& memo) const
{
    if (memo.size() + 1 < MemoTypingLimit)
        return false;  // a line holds a character at least
    return bound_.Lines(memo, MemoTypingLimit) >= MemoTypingLimit;
}

bool DeferredCardView::Show()
{
    if (inShow_ || !allowed_)
        return false;
    const CardStore& s = s_;
    const Card& row = s.CardTable[static_cast<size_t>(s.CurrentCard)];
    if (!Plain(row) || MayReachLineLimit(row[MemoCell])) {
        GoLive();
        return true;
    }
    // The Memo's change handling as far as it is due now: the card file
    // counts as changed when the Memo shown differs from the one before.
    const bool memoDiffers =
        pending_ ? shown_[MemoCell] != row[MemoCell] : editors_.memoMUISTIINPANO->Text() != row[MemoCell];
    if (memoDiffers)
        s_.CardFileChanged = true;
    shown_ = row;
    pending_ = true;
    return true;
}

bool DeferredCardView::Store()
{
    if (inShow_ || !pending_)
        return false;
    CardStore& s = s_;
    QString& cell = s.CardTable[static_cast<size_t>(s.CurrentCard)][cell_];
    if (cell != shown_[cell_])
        cell = shown_[cell_];
    return true;
}
