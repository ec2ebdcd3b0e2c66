#include "recoverykeeper.h"

#include "cardstore.h"
#include "commandguard.h"
#include "endsignals.h"
#include "fieldeditors.h"
#include "filenames.h"
#include "filestamp.h"
#include "windowlinks.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThread>
#include <algorithm>
#include <unistd.h>

struct RecoveryKeeper::Job {
    QString path;
    CardRows rows;
    int count = 0;
    RecoveryWriteResult result;
};

RecoveryKeeper::RecoveryKeeper(WindowContext& context, const MainWindowLink& form)
    : context_(context), form_(form), endProgram_([](int code) { QCoreApplication::exit(code); })
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::Fire);
    // Typing in fields 1 to 17; the Memo's changes and every command reach
    // the keeper through the command observer.
    for (int cell = 0; cell < MemoCell; ++cell) {
        QWidget* editor = form_.editors->editors[static_cast<size_t>(cell)];
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            connect(line, &QLineEdit::textChanged, this, &RecoveryKeeper::Changed);
        else if (auto* box = qobject_cast<QPlainTextEdit*>(editor))
            connect(box, &QPlainTextEdit::textChanged, this, &RecoveryKeeper::Changed);
    }
    SetCommandObserver([this] { Changed(); });
    if (EndSignals::ReadEnd() >= 0) {
        signals_ = new QSocketNotifier(EndSignals::ReadEnd(), QSocketNotifier::Read, this);
        connect(signals_, &QSocketNotifier::activated, this, &RecoveryKeeper::ReadSignal);
    }
#ifndef QT_NO_SESSIONMANAGER
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(
            app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { EndSession(0); },
            Qt::DirectConnection);
#endif
}

RecoveryKeeper::~RecoveryKeeper()
{
    SetCommandObserver({});
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

void RecoveryKeeper::SetDelays(int quietMs, int longestMs)
{
    quietMs_ = quietMs;
    longestMs_ = longestMs;
}

QString RecoveryKeeper::CopyPath() const
{
    return RecoveryCopyPath(RecoveryFolder(), context_.store.CardFileName);
}

void RecoveryKeeper::Changed()
{
    const CardStore& s = context_.store;
    if (!enabled_ || !s.FileOpen)
        return;
    if (!pendingSince_.isValid())
        pendingSince_.start();
    // Quiet for quietMs after the last change, but never more than longestMs
    // after the first change that waits for a copy.
    const qint64 left = std::max<qint64>(0, longestMs_ - pendingSince_.elapsed());
    timer_.start(static_cast<int>(std::min<qint64>(quietMs_, left)));
}

CardRows RecoveryKeeper::Snapshot() const
{
    const CardStore& s = context_.store;
    const auto count = static_cast<size_t>(std::clamp(s.CardCount, 0, static_cast<int>(s.CardTable.size())));
    // Qt's texts are shared: copying the rows copies no characters.
    CardRows rows(s.CardTable.begin(), s.CardTable.begin() + static_cast<std::ptrdiff_t>(count));
    if (s.CurrentCard >= 0 && static_cast<size_t>(s.CurrentCard) < count) {
        Card& current = rows[static_cast<size_t>(s.CurrentCard)];
        for (int cell = 0; cell < MemoCell; ++cell) {
            QWidget* editor = form_.editors->editors[static_cast<size_t>(cell)];
            if (auto* box = qobject_cast<OneLineBox*>(editor))
                current[static_cast<size_t>(cell)] = box->Text();
            else if (auto* line = qobject_cast<FieldLine*>(editor))
                current[static_cast<size_t>(cell)] = line->Text();
        }
        current[MemoCell] = form_.editors->memoMUISTIINPANO->Text();
    }
    return rows;
}

// A new card file that is on no disk and holds one card with nothing typed
// into it: nothing would be lost.
bool RecoveryKeeper::NothingToKeep(const CardRows& rows) const
{
    return rows.empty()
        || (rows.size() == 1 && CardFieldsEmpty(rows[0]) && !StampOf(context_.store.CardFileName).exists);
}

void RecoveryKeeper::Fire()
{
    if (thread_) {
        again_ = true;  // written once more when this one is done
        return;
    }
    pendingSince_.invalidate();
    const CardStore& s = context_.store;
    if (!enabled_ || !s.FileOpen || !s.CardFileChanged)
        return;
    auto job = std::make_shared<Job>();
    job->rows = Snapshot();
    if (NothingToKeep(job->rows))
        return;
    job->path = CopyPath();
    job->count = static_cast<int>(job->rows.size());
    job_ = job;
    thread_ = QThread::create([job] {
        job->result = WriteRecoveryCopy(job->path, job->rows, job->count);
        CardRows().swap(job->rows);  // let go of the texts here, not on the window thread
    });
    connect(thread_, &QThread::finished, this, [this, job] { Finished(job); });
    thread_->start();
}

// Waits for the copy being written and takes its outcome.
void RecoveryKeeper::Collect()
{
    // A copy of the pointer: Finished lets go of job_ before it reads the job.
    if (const std::shared_ptr<Job> job = job_)
        Finished(job);
}

void RecoveryKeeper::Finished(const std::shared_ptr<Job>& job)
{
    if (job != job_)
        return;  // already taken
    thread_->wait();
    thread_->deleteLater();
    thread_ = nullptr;
    job_.reset();
    switch (job->result.status) {
    case RecoveryWriteResult::Ok:
        if (!kept_.isEmpty() && kept_ != job->path)
            RemoveRecoveryCopy(kept_);  // the card file has another name now
        kept_ = job->path;
        break;
    case RecoveryWriteResult::Refused:
        break;  // Save will name the card; the last copy stays
    case RecoveryWriteResult::Failed:
        Failed(job->result.errorText);
        return;
    }
    if (again_) {
        again_ = false;
        Fire();
    }
}

void RecoveryKeeper::Failed(const QString& reason)
{
    if (!enabled_)
        return;
    enabled_ = false;
    timer_.stop();
    again_ = false;
    context_.platform.Message(QStringLiteral("Unsaved changes cannot be kept for recovery: ") + reason
            + QStringLiteral(". Recovery is off until the program ends; save your work often."),
        MsgIcon::Warning);
}

void RecoveryKeeper::Discard()
{
    timer_.stop();
    pendingSince_.invalidate();
    again_ = false;
    Collect();
    if (!kept_.isEmpty()) {
        RemoveRecoveryCopy(kept_);
        kept_.clear();
    }
}

void RecoveryKeeper::OfferKeptCopy()
{
    CardStore& s = context_.store;
    if (!s.FileOpen)
        return;
    const QString copy = CopyPath();
    const RecoveryCopyFound found = FindRecoveryCopy(copy, s.CardFileName);
    if (found.kind == RecoveryCopyFound::None)
        return;
    if (found.kind == RecoveryCopyFound::Older) {
        // The card file was saved after it: kept aside, never offered.
        SetRecoveryCopyAside(copy, found.written);
        return;
    }
    const QString name = FileNamePart(s.CardFileName);
    RecoveryRead read = ReadRecoveryCopy(copy, s.MaxCardCount);
    if (!read.ok) {
        const QString aside = SetRecoveryCopyAside(copy, found.written);
        context_.platform.Message(QStringLiteral("The kept copy of unsaved changes to ") + name
                + QStringLiteral(" cannot be opened: ") + read.problem
                + (aside.isEmpty() ? QStringLiteral(". It stays as ") + copy
                                   : QStringLiteral(". It was set aside as ") + aside)
                + QLatin1Char('.'),
            MsgIcon::Warning);
        return;
    }
    const QString when = found.written.toString(
        context_.platform.ShortDateFormat() + QLatin1Char(' ') + context_.platform.LongTimeFormat());
    const MsgAnswer answer = context_.platform.Message(QStringLiteral("Unsaved changes to ") + name
            + QStringLiteral(" from ") + when + QStringLiteral(" were kept when the program ended. Open them?"),
        MsgIcon::None, MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes) {
        SetRecoveryCopyAside(copy, found.written);
        return;
    }
    // The recovered cards under the card file's own name, marked changed;
    // the file itself is untouched until the user saves.
    read.rows.resize(static_cast<size_t>(std::max(s.MaxCardCount, read.count)));
    s.CardTable.swap(read.rows);
    s.CardCount = read.count;
    s.CurrentCard = read.count - 1;
    form_.showCard();
    s.CardFileChanged = true;
    kept_ = copy;
}

void RecoveryKeeper::EndSession(int exitCode)
{
    timer_.stop();
    Collect();
    const CardStore& s = context_.store;
    if (enabled_ && s.FileOpen && s.CardFileChanged) {
        const CardRows rows = Snapshot();
        if (!NothingToKeep(rows))
            WriteRecoveryCopy(CopyPath(), rows, static_cast<int>(rows.size()));
    }
    endProgram_(exitCode);
}

void RecoveryKeeper::ReadSignal()
{
    char signo = 0;
    if (::read(EndSignals::ReadEnd(), &signo, 1) != 1)
        return;
    EndSession(128 + signo);
}
