// The text area of the listing window: an editable, word-wrapped text that
// gives back exactly the text it was given until the user edits it.
#pragma once

#include "textfind.h"

#include <QPlainTextEdit>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class QTextDocument;
class QThread;

// Fills the text area's next document on a thread of its own while the
// listing is still being collected: the listing's text is handed over in
// pieces as it grows, each ending after a line break, and the document holds
// them in the form the area shows them (lines in paragraphs).
class ListingDocumentLoader {
public:
    // The document takes the font, text option and margin of like.
    explicit ListingDocumentLoader(const QTextDocument& like);
    // Stops the thread; a document not taken is deleted.
    ~ListingDocumentLoader();
    ListingDocumentLoader(const ListingDocumentLoader&) = delete;
    ListingDocumentLoader& operator=(const ListingDocumentLoader&) = delete;

    void Add(QString piece);
    // Waits for the pieces to be in; the document, now of the calling thread
    // and the caller's to own.
    QTextDocument* Take();

private:
    void Fill(QFont font, QTextOption option, qreal margin);

    std::mutex mutex_;
    std::condition_variable added_;
    std::deque<QString> pieces_;
    bool end_ = false;
    QThread* home_;
    QTextDocument* doc_ = nullptr;
    std::thread thread_;
};

class ListingTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    // Lines per paragraph of the editor's own text: a listing of many short
    // lines loads and closes many times faster in paragraphs than in lines.
    static constexpr int LinesPerParagraph = 32;

    explicit ListingTextEdit(QWidget* parent);

    // Shows text (line breaks as CR LF) with the caret at its start.
    void SetText(QString text);
    // The same with a document a ListingDocumentLoader filled with text.
    void SetText(QString text, QTextDocument* filled);
    // The text as the area holds it, line breaks as CR LF: the text last set,
    // unchanged, until the user edits it; after an edit, every line break
    // the edit did not take out keeps its form (a lone CR or LF, U+2028,
    // U+2029), and the ones it brought in are CR LF.
    QString Text() const;
    void Clear();
    // Whether the area shows more than limit display lines: its lines
    // wrapped at word boundaries to the area's width. Only a text of at most
    // limit lines is wrapped to tell.
    bool ShowsMoreLinesThan(int limit) const;

private:
    void FollowEdits();
    void ShowDocumentOf(const QString& editorText);
    void ShowDocument(QTextDocument* doc);

    QString held_;
    KeptLineBreaks kept_;
};
