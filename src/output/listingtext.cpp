#include "listingtext.h"

#include "textfind.h"

#include <QPlainTextDocumentLayout>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <utility>

ListingTextEdit::ListingTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FollowEdits();
}

void ListingTextEdit::FollowEdits()
{
    connect(document(), &QTextDocument::contentsChange, this,
        [this](int position, int removed, int added) { kept_.Changed(position, removed, added); });
}

// A listing of megabytes goes into a document of its own, filled before the
// area shows it, which then takes the place of the one shown. Filled in
// place, the area would tell a screen reader of the whole text inserted (and
// at Clear of as many characters removed), a message of many megabytes on
// the accessibility bus; and a new document costs nothing to empty.
void ListingTextEdit::ShowDocumentOf(const QString& editorText)
{
    auto* doc = new QTextDocument(this);
    doc->setDocumentLayout(new QPlainTextDocumentLayout(doc));
    const QTextDocument* old = document();
    doc->setDefaultFont(old->defaultFont());
    doc->setDefaultTextOption(old->defaultTextOption());
    doc->setDocumentMargin(old->documentMargin());
    if (!editorText.isEmpty()) {
        doc->setUndoRedoEnabled(false);
        QTextCursor(doc).insertText(editorText);
        doc->setUndoRedoEnabled(true);
    }
    ShowDocument(doc);
}

void ListingTextEdit::ShowDocument(QTextDocument* doc)
{
    doc->setParent(this);
    doc->setModified(false);
    const QPointer<QTextDocument> old = document();
    setDocument(doc);
    delete old.data();  // the area's first document it deletes itself
    FollowEdits();
}

void ListingTextEdit::SetText(QString text, QTextDocument* filled)
{
    ShowDocument(filled);
    kept_.Reset(text);
    held_ = std::move(text);
    moveCursor(QTextCursor::Start);
}

ListingDocumentLoader::ListingDocumentLoader(const QTextDocument& like) : home_(QThread::currentThread())
{
    thread_ = std::thread([this, font = like.defaultFont(), option = like.defaultTextOption(),
                              margin = like.documentMargin()] { Fill(font, option, margin); });
}

ListingDocumentLoader::~ListingDocumentLoader()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        end_ = true;
        pieces_.clear();
    }
    added_.notify_one();
    if (thread_.joinable())
        thread_.join();
    delete doc_;
}

void ListingDocumentLoader::Add(QString piece)
{
    if (piece.isEmpty())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        pieces_.push_back(std::move(piece));
    }
    added_.notify_one();
}

QTextDocument* ListingDocumentLoader::Take()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        end_ = true;
    }
    added_.notify_one();
    if (thread_.joinable())
        thread_.join();
    return std::exchange(doc_, nullptr);
}

void ListingDocumentLoader::Fill(QFont font, QTextOption option, qreal margin)
{
    auto* doc = new QTextDocument;
    doc->setDocumentLayout(new QPlainTextDocumentLayout(doc));
    doc->setDefaultFont(font);
    doc->setDefaultTextOption(option);
    doc->setDocumentMargin(margin);
    doc->setUndoRedoEnabled(false);
    QTextCursor at(doc);
    int lines = 0;
    for (;;) {
        QString piece;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            added_.wait(lock, [this] { return end_ || !pieces_.empty(); });
            if (pieces_.empty())
                break;
            piece = std::move(pieces_.front());
            pieces_.pop_front();
        }
        at.insertText(EditorText(piece, ListingTextEdit::LinesPerParagraph, lines));
    }
    doc->setUndoRedoEnabled(true);
    doc->moveToThread(home_);
    doc_ = doc;
}

void ListingTextEdit::SetText(QString text)
{
    ShowDocumentOf(EditorText(text, LinesPerParagraph));
    kept_.Reset(text);
    held_ = std::move(text);
    moveCursor(QTextCursor::Start);
}

QString ListingTextEdit::Text() const
{
    if (!document()->isModified())
        return held_;
    const QString raw = document()->toRawText();
    return kept_.IsEmpty() ? RawToCrLf(raw) : kept_.Text(raw);
}

void ListingTextEdit::Clear()
{
    held_.clear();
    kept_.Reset({});
    ShowDocumentOf({});
}

bool ListingTextEdit::ShowsMoreLinesThan(int limit) const
{
    const QString text = Text();
    if (text.isEmpty())
        return limit < 0;
    // Each line takes one display line at least: a text of more lines than
    // limit needs no wrapping to tell.
    // Counted only as far as needed: a listing of megabytes tells at once.
    qsizetype breaks = 0;
    for (qsizetype at = text.indexOf(u'\n'); at >= 0 && breaks <= limit; at = text.indexOf(u'\n', at + 1))
        ++breaks;
    if (breaks > limit)
        return true;
    const qsizetype lines = breaks + (text.endsWith(u'\n') ? 0 : 1);
    if (lines > limit)
        return true;
    QStringList paragraphs = text.split(QStringLiteral("\r\n"));
    if (paragraphs.last().isEmpty())
        paragraphs.removeLast();  // the rest after the final line break is no line
    QTextOption option;
    option.setWrapMode(wordWrapMode());
    const qreal width = viewport()->width() - 2 * document()->documentMargin();
    qsizetype shown = 0;
    for (const QString& line : paragraphs) {
        QTextLayout layout(line, font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(width);
            ++shown;
        }
        layout.endLayout();
        if (shown > limit)
            return true;
    }
    return false;
}
