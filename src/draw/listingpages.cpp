#include "listingpages.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <thread>

const QString BuildingPreviewTitle = QStringLiteral("Building the Preview. Please wait...");

void BuildListingPages(
    PrintState& print, const QString& listingText, const std::function<void(int page, int fullPages)>& afterFullPage)
{
    print.paging.reset();
    Piilomemo& box = print.piilomemo;
    box.Clear();
    box.SetText(listingText);
    const QStringList& lines = box.Lines();
    const int count = static_cast<int>(lines.size());
    const int fullPages = count / ListingPageLines;
    print.ListingPageCount = fullPages + (count % ListingPageLines != 0 ? 1 : 0);

    // Made anew: the pages of an earlier build are dropped, not reused.
    std::vector<ListingPage> pages(static_cast<size_t>(print.ListingPageCount));
    for (int i = 0; i < count; ++i) {
        pages[static_cast<size_t>(i / ListingPageLines)][static_cast<size_t>(i % ListingPageLines)] = lines[i];
        if (afterFullPage && i % ListingPageLines == ListingPageLines - 1)
            afterFullPage(i / ListingPageLines, fullPages);
    }
    print.ListingPages = std::move(pages);
}

QString BuildingPreviewCaption(int page, int fullPages)
{
    return u"Building the preview " + QString::number(page) + u'/' + QString::number(fullPages) + u"  CARDOMO 0.5 beta";
}

struct ListingPaging::Shared {
    std::mutex mutex;
    std::condition_variable stretchDone;
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
};

ListingPaging::ListingPaging(const QString& text) : text_(text), shared_(std::make_unique<Shared>())
{
    cuts_ = ParagraphStretches(text_, Piilomemo::ParagraphStretch);
    const size_t stretches = cuts_.size() - 1;
    parts_.resize(stretches);
    partDone_.assign(stretches, 0);
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
    for (unsigned t = 0; t < cores && t < stretches; ++t) {
        shared_->threads.emplace_back([this] {
            // Below the window thread, which draws the pages cut so far.
            setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 5);
            const QStringView whole(text_);
            for (size_t i = shared_->next++; i < parts_.size() && !shared_->stop; i = shared_->next++) {
                QStringList lines;
                WrapParagraphs(whole, cuts_[i], cuts_[i + 1], lines);
                {
                    const std::lock_guard<std::mutex> lock(shared_->mutex);
                    parts_[i] = std::move(lines);
                    partDone_[i] = 1;
                }
                shared_->stretchDone.notify_all();
            }
        });
    }
}

ListingPaging::~ListingPaging()
{
    shared_->stop = true;
    for (std::thread& t : shared_->threads)
        t.join();
}

bool ListingPaging::Collect(PrintState& print)
{
    if (done_)
        return true;
    std::vector<QStringList> ready;
    {
        const std::lock_guard<std::mutex> lock(shared_->mutex);
        while (collected_ + ready.size() < parts_.size() && partDone_[collected_ + ready.size()])
            ready.push_back(std::move(parts_[collected_ + ready.size()]));
    }
    collected_ += ready.size();
    auto addPage = [&print](const QStringList& lines, qsizetype from) {
        ListingPage page;
        const qsizetype n = std::min<qsizetype>(ListingPageLines, lines.size() - from);
        for (qsizetype i = 0; i < n; ++i)
            page[static_cast<size_t>(i)] = lines[from + i];
        print.ListingPages.push_back(std::move(page));
    };
    for (QStringList& lines : ready) {
        carry_.append(std::move(lines));
        qsizetype from = 0;
        for (; carry_.size() - from >= ListingPageLines; from += ListingPageLines)
            addPage(carry_, from);
        carry_.remove(0, from);
    }
    if (collected_ == parts_.size()) {
        if (!carry_.isEmpty())
            addPage(carry_, 0);
        carry_.clear();
        done_ = true;
    }
    print.ListingPageCount = static_cast<int>(print.ListingPages.size());
    return done_;
}

void ListingPaging::WaitForPages(PrintState& print, int pages)
{
    while (!Collect(print) && print.ListingPageCount < pages) {
        std::unique_lock<std::mutex> lock(shared_->mutex);
        if (collected_ < parts_.size() && !partDone_[collected_])
            shared_->stretchDone.wait_for(lock, std::chrono::milliseconds(50));
    }
}

void ListingPaging::WaitForEnd(PrintState& print)
{
    WaitForPages(print, std::numeric_limits<int>::max());
}

void StartListingPages(PrintState& print, const QString& listingText)
{
    print.paging.reset();
    print.piilomemo.Clear();
    print.ListingPages.clear();
    print.ListingPageCount = 0;
    print.paging = std::make_shared<ListingPaging>(listingText);
    print.paging->WaitForPages(print, 1);
    if (print.paging->Done())
        print.paging.reset();
}

void FinishListingPages(PrintState& print)
{
    if (!print.paging)
        return;
    print.paging->WaitForEnd(print);
    print.paging.reset();
}
