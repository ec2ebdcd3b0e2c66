// Saving cards as text: every field of every card in one fixed layout, and
// the listing window's text as it stands. Both are written as UTF-8 with the
// byte-order mark EF BB BF and CR LF line ends, onto a device the caller has
// opened (and commits or discards): the writers never open files themselves.
#pragma once

#include "card.h"

#include <QIODevice>
#include <QString>
#include <QStringView>
#include <span>

enum class TextExportKind {
    AllCards,  // "Cardomo 0.5 beta - Text listing   " D T
    PickedCards,  // "Cardomo 0.5 beta - Saving of the picked cards  " D T
};

struct TextExportOptions {
    TextExportKind kind = TextExportKind::AllCards;
    bool pageFeedPerCard = false;  // a line holding U+000C after every card
    QString date;  // the user's short date format, already applied
    QString time;  // the user's long time format, already applied
    QString cardFileName;  // named in the footer, as held (also for picked cards)
};

// Writes the text export of cards (the header's count is cards.size()) onto
// an open device, in large pieces. Unpaired surrogates are written as U+FFFD.
// Returns true only when every write took all its bytes; it stops at the
// first that did not, and the device's errorString() tells why.
bool WriteTextExport(QIODevice& device, std::span<const Card> cards, const TextExportOptions& options);

// Writes a listing window's text: the byte-order mark, then the text in
// UTF-8, each line break as CR LF (a line feed without a carriage return
// before it gets one; nothing else is added or dropped). Returns true only
// when every write took all its bytes.
bool WriteListingText(QIODevice& device, QStringView text);

// Title of the main window's and the picked cards window's save dialog for text:
// "Save as text with page feeds (*.txt) (UTF-8)" or "Save as text (*.txt) (UTF-8)".
QString TextExportDialogTitle(bool pageFeedPerCard);
// Title of the listing window's save dialog:
// "Save the content of the form as UTF-8 text (*.txt)".
extern const QString ListingSaveDialogTitle;

// "The file " + name + " already exists. Do you want to replace it?"
QString ReplaceFileQuestion(const QString& name);
// The listing window's report of a failed save: "Exception Message: " +
// errorText + ". The recording disk may be out of space. The file may not have
// been saved correctly. Check the issue and save to another disk before
// closing the job file."
QString ListingSaveFailedMessage(const QString& errorText);
