// The program with a card file open and every modal window run by the test:
// the preview, the picked cards window and the listing window show, the act
// given for them runs inside their modal display, and a window the act left
// open is closed (the picked cards and listing windows through their Close,
// the preview through its title bar).
#pragma once

#include "listing_fixture.h"

#include "Preview.h"
#include "cardstore.h"
#include "poiminta6.h"
#include "printstate.h"
#include "searchgroups.h"

#include <QLabel>
#include <QProcess>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <map>

// What the preview showed when it opened.
struct PreviewSeen {
    int page = 0;
    QString counter;
    QString note;
    PrintMode mode = PrintMode::ListPrint;
    bool enabled = false;
};

class PreviewTest : public ListingTest {
protected:
    TPreviewForm* Preview() const { return program->windows().preview; }
    TForm3* Picked() const { return program->windows().form3; }
    PrintState& Print() const { return program->print; }

    // Starts on a card file of n cards (Title1 "Card k", Memo "Memo k", Card
    // ID "idk"), showing card `current` (1-based; the last when 0).
    void StartOn(int n, int current = 0)
    {
        path = MakeFile(n);
        Start({path});
        platform.modalHandler = [this](QDialog& d) { return RunModal(d); };
        platform.printPath = Path(QStringLiteral("printed.pdf"));
        if (current > 0) {
            store().CurrentCard = current - 1;
            form->btnPaivitaClick();
        }
        platform.Clear();
    }

    // Starts on a card file of n cards (Title1 "Card k", Card ID "idk") whose
    // card `longCard` (1-based) has a Memo of 60 short lines, more than a
    // printed card holds; shows card `current` (1-based).
    void StartOnLongCard(int n, int longCard, int current)
    {
        CardRows rows(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            rows[static_cast<size_t>(i)][0] = QStringLiteral("Card %1").arg(i + 1);
            rows[static_cast<size_t>(i)][CardIdCell] = QStringLiteral("id%1").arg(i + 1);
        }
        QStringList memo;
        for (int i = 1; i <= 60; ++i)
            memo << QStringLiteral("memo %1").arg(i);
        rows[static_cast<size_t>(longCard - 1)][MemoCell] = memo.join(QStringLiteral("\r\n"));
        path = Path(QStringLiteral("long.kqk"));
        WriteCardFile(path, rows, n, MainFileHeaderText);
        Start({path});
        platform.modalHandler = [this](QDialog& d) { return RunModal(d); };
        platform.printPath = Path(QStringLiteral("printed.pdf"));
        store().CurrentCard = current - 1;
        form->btnPaivitaClick();
    }

    int RunModal(QDialog& d)
    {
        QWidget* before = QApplication::activeWindow();
        d.setResult(0);
        Activate(&d);
        if (&d == Preview()) {
            PreviewSeen s;
            s.page = Preview()->Page;
            s.counter = Preview()->Label1->text();
            s.note = Preview()->Label2->text();
            s.mode = Print().PrintMode;
            s.enabled = Preview()->isEnabled();
            previews.push_back(s);
        }
        const auto act = acts.find(d.objectName());
        if (act != acts.end())
            act->second();
        if (d.isVisible()) {
            if (&d == Picked())
                Picked()->btnPoistu->click();
            else if (&d == Listing())
                Listing()->Poistu1Click();
            else
                d.close();
        }
        QWidget* back = before && before->isVisible() ? before : form;
        if (back->isVisible())
            Activate(back);
        return d.result();
    }

    // A key to the window, at the control that has the focus, as the
    // keyboard sends it.
    static void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* focus = window->focusWidget();
        QTest::keyClick(focus ? focus : window, key, mods);
    }

    // The wheel turned over the preview's page by notches (+ up, - down).
    void Wheel(int notches)
    {
        QWidget* over = Preview();
        const QPoint local(over->width() / 2, over->height() / 2);
        QWheelEvent e(local, over->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    }

    // Picks the cards whose Title1 contains text into the picked cards
    // window, which opens on the last of them; act runs inside it.
    void PickTitles(const QString& text, std::function<void()> act)
    {
        acts[QStringLiteral("Form3")] = std::move(act);
        form->fieldSearch->Edit1->setText(text);
        form->fieldSearch->btnPoimi->click();
    }

    // The lines of each page of a PDF file, as pdftotext reads them in
    // layout order, runs of blanks made one.
    static std::vector<QStringList> PdfPages(const QString& pdf)
    {
        std::vector<QStringList> pages;
        const QString tool = QStringLiteral(PDFTOTEXT);
        QProcess process;
        process.start(tool, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            ADD_FAILURE() << "pdftotext failed on " << pdf.toStdString();
            return pages;
        }
        QStringList texts = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
        if (!texts.isEmpty() && texts.last().trimmed().isEmpty())
            texts.removeLast();  // after the last page's form feed
        for (const QString& text : texts) {
            QStringList lines;
            for (const QString& line : text.split(u'\n')) {
                const QString simple = line.simplified();
                if (!simple.isEmpty())
                    lines << simple;
            }
            pages.push_back(lines);
        }
        return pages;
    }
    static bool HavePdfToText()
    {
        const QString tool = QStringLiteral(PDFTOTEXT);
        return !tool.isEmpty() && !tool.endsWith(QLatin1String("NOTFOUND"));
    }

    QString path;
    std::vector<PreviewSeen> previews;
    // By window name: "PreviewForm", "Form3", "Form2".
    std::map<QString, std::function<void()>> acts;
};
