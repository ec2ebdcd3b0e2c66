// The recovery copy of the main window's unsaved changes: while the open card
// file is changed, a copy of its whole card table (with what the field
// editors hold of the current card) is written into the user's state folder
// a few seconds after the last change, off the window thread; the signals
// that end a session and the session manager's request to save write it at
// once and end the program. Starting on a card file that has a newer copy
// offers it.
#pragma once

#include "card.h"
#include "recovery.h"
#include "windows.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QSocketNotifier;
class QThread;
struct MainWindowLink;

class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    RecoveryKeeper(WindowContext& context, const MainWindowLink& form);
    ~RecoveryKeeper() override;  // waits for a copy being written

    // How long after the last change the copy is written, and how long
    // changes may go on without one (5 s and 60 s).
    void SetDelays(int quietMs, int longestMs);
    // What ends the program once a signal or the end of the session has had
    // the copy written; QCoreApplication::exit by default.
    void SetEndProgram(std::function<void(int)> end) { endProgram_ = std::move(end); }

    // Something may have changed the card file: the copy follows.
    void Changed();
    // After New or an open: a copy of that card file newer than the file is
    // offered; a broken one, one the user declines and an older one are set
    // aside under a dated name.
    void OfferKeptCopy();
    // After a completed Save or Save As, and at Close: the copy goes.
    void Discard();
    // A signal or the end of the session: the copy is written now when there
    // are unsaved changes, and the program ends with exitCode.
    void EndSession(int exitCode);

    // The copy of the open card file, as it is named now.
    QString CopyPath() const;
    // False once a copy could not be written: recovery is off for the run.
    bool Enabled() const { return enabled_; }

private:
    struct Job;
    // The rows of the card table with the current card as its editors hold it.
    CardRows Snapshot() const;
    bool NothingToKeep(const CardRows& rows) const;
    void Fire();
    void Collect();
    void Finished(const std::shared_ptr<Job>& job);
    void Failed(const QString& reason);
    void ReadSignal();

    WindowContext& context_;
    const MainWindowLink& form_;
    int quietMs_ = 5000;
    int longestMs_ = 60000;
    std::function<void(int)> endProgram_;
    QTimer timer_;
    QElapsedTimer pendingSince_;  // valid while changes wait for a copy
    QThread* thread_ = nullptr;
    std::shared_ptr<Job> job_;
    bool again_ = false;
    bool enabled_ = true;
    // The copy this run wrote or took over, which Save and Close remove.
    QString kept_;
    QSocketNotifier* signals_ = nullptr;
};
