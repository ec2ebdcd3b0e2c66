#include "listingcommands.h"

#include "Unit10.h"
#include "Unit15.h"
#include "cardstore.h"
#include "frm2uusi6.h"
#include "listingtext.h"
#include "longwork.h"
#include "odota6.h"
#include "platform.h"
#include "windowlinks.h"

#include <QDateTime>
#include <QMainWindow>
#include <QTextDocument>
#include <exception>

namespace {

bool IsPicked(ListingKind kind)
{
    return kind == ListingKind::PickedCards || kind == ListingKind::CurrentPickedCard;
}

// Hides a window and leaves a modal display it is in running: hiding a
// dialog the usual way would end its modal display, and the picked cards
// window must come back from a listing still modal.
void HideKeepingModalDisplay(QWidget* window)
{
    window->QWidget::setVisible(false);
}

// The listing text into the listing window: header, a card block per card
// until the end or until Esc is held down after a card, then the footer;
// then the wait window closes.
void Collect(WindowContext& context, ListingKind kind)
{
    Platform& platform = context.platform;
    const Windows& w = context.windows;
    const QDateTime now = platform.Now();
    ListingCollector listing(kind, context.store, w.form10->Selection(),
        now.date().toString(platform.ShortDateFormat()), now.time().toString(platform.LongTimeFormat()));
    TForm5* wait = listing.ShowsWaitWindow() ? w.form5 : nullptr;
    if (wait)
        wait->ShowWait();
    LongWork work(platform, wait);
    // The text area's document is filled on another core as the text grows.
    ListingDocumentLoader loader(*w.form2->memoLISTAUS->document());
    constexpr qsizetype Piece = 256 * 1024;
    qsizetype handed = 0;
    while (!listing.AtEnd()) {
        work.Caption([&listing] { return listing.WaitCaption(); });
        listing.AppendNext();
        const QString& sofar = listing.TextSoFar();
        if (sofar.size() - handed >= Piece) {
            loader.Add(sofar.mid(handed));
            handed = sofar.size();
        }
        if (!work.Continue())
            break;
    }
    QString text = listing.Finish();
    loader.Add(text.mid(handed));
    // The text goes into the listing window's text area while the wait
    // window still stands: loading a long listing takes a moment too.
    w.form2->SetListing(std::move(text), loader.Take(), listing.WindowCaption());
    if (wait)
        wait->CloseWait();
}

}  // namespace

void ListCards(WindowContext& context, ListingKind kind, QWidget* pickedWindow)
{
    CardStore& s = context.store;
    const Windows& w = context.windows;
    MainWindowLink& link = *w.main;
    QMainWindow* main = link.window;
    const bool picked = IsPicked(kind);
    const bool mainEnabled = main->isEnabled();
    if (!picked) {
        if (w.form15 && w.form15->isVisible())
            w.form15->close();
        s.PickedWindowActive = false;
        link.storeShownCard();
        if (!s.FileOpen) {
            context.platform.Message(QStringLiteral("No card file is open!"));
            return;
        }
        pickedWindow = nullptr;
    } else {
        s.PickedWindowActive = true;
        main->hide();
        main->setEnabled(false);
        if (pickedWindow) {
            HideKeepingModalDisplay(pickedWindow);
            pickedWindow->setEnabled(false);
        }
    }
    w.form2->SetPickedWindow(pickedWindow, mainEnabled);
    main->hide();

    std::exception_ptr error;
    try {
        Collect(context, kind);
    } catch (...) {
        error = std::current_exception();
    }
    if (error) {
        // The listing window's Close empties it and brings back the windows
        // the listing came from.
        w.form2->Poistu1Click();
        w.form5->CloseWait();
        if (picked)
            std::rethrow_exception(error);
        context.platform.Message(QStringLiteral("Error!"));
        main->setEnabled(true);
        return;
    }
    if (!picked)
        main->setEnabled(false);
    w.form2->ShowModalListing();
}
