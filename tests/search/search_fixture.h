// The program started on a card file made for a search, pick or sort test,
// with the modal windows run by the test: while the picked cards window (or
// the card picking or card filtering window) is open, the test acts in it;
// what the picked cards window showed when it opened is recorded.
#pragma once

#include "support/mainwindow_fixture.h"

#include "Unit11.h"
#include "Unit13.h"
#include "poiminta6.h"
#include "searchgroups.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWheelEvent>
#include <functional>
#include <map>
#include <optional>

class SearchTest : public MainWindowTest {
protected:
    // n cards: Title1 "Card k", Memo "Memo k", Card ID "idk"; in field
    // `field` (1..19) the given values, card by card, when any are given.
    static CardRows Rows(int n, int field = 0, const QStringList& values = {})
    {
        CardRows rows(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            Card& r = rows[static_cast<size_t>(i)];
            r[0] = QStringLiteral("Card %1").arg(i + 1);
            r[MemoCell] = QStringLiteral("Memo %1").arg(i + 1);
            r[CardIdCell] = QStringLiteral("id%1").arg(i + 1);
            if (field > 0 && i < values.size())
                r[static_cast<size_t>(field - 1)] = values[i];
        }
        return rows;
    }

    // Starts the program on a card file of these rows.
    void StartWith(const CardRows& rows)
    {
        const QString path = Path(QStringLiteral("cards.kqk"));
        WriteCardFile(path, rows, static_cast<int>(rows.size()), MainFileHeaderText);
        Start({path});
        form3 = program->windows().form3;
        form11 = program->windows().form11;
        form13 = program->windows().form13;
        opened.clear();
        acts.clear();
        platform.modalHandler = [this](QDialog& d) { return RunModal(d); };
        platform.Clear();
        form->memoTUNNISTE->setFocus();
    }

    // What the picked cards window showed when it opened.
    struct Opened {
        QString number;  // the order number box
        QString count;  // the label beside it
        QString title1;
        QStringList picked;  // Title1 of the picked cards, in their order
    };

    // The Title1 of the picked cards, in their order.
    QStringList PickedTitles() const
    {
        QStringList titles;
        for (int i = 0; i < store().PickedCount && static_cast<size_t>(i) < store().PickedTable.size(); ++i)
            titles << store().PickedTable[static_cast<size_t>(i)][0];
        return titles;
    }

    // A window run modally shows, the act for its name runs in it, and a
    // window the act left open closes (unless the act set leaveOpen): the picked cards window through its
    // Close button, the others as by their close box.
    int RunModal(QDialog& d)
    {
        QWidget* before = QApplication::activeWindow();
        d.show();
        d.activateWindow();
        // A window over another counts as active already while that one is:
        // wait until it is the window that takes the keys.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &d; }, 2000));
        if (&d == form3)
            opened.push_back(
                {form3->editKORTTINRO->text(), form3->Label20->text(), form3->memoTUNNISTE->Text(), PickedTitles()});
        const auto act = acts.find(d.objectName());
        if (act != acts.end())
            act->second();
        if (leaveOpen)
            leaveOpen = false;
        else if (d.isVisible()) {
            if (&d == form3)
                form3->btnPoistu->click();
            else
                d.close();
        }
        // The window that ran it is active again.
        QWidget* back = before && before->isVisible() ? before : form;
        back->activateWindow();
        (void)QTest::qWaitFor([&] { return QApplication::activeWindow() == back; }, 2000);
        return d.result();
    }

    // A key to the control of window that has the focus, as the keyboard sends it.
    static void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* focus = window->focusWidget();
        QTest::keyClick(focus ? focus : window, key, mods);
    }

    // The wheel turned over a control, at its centre unless a point is given.
    static void Wheel(QWidget* over, int delta, std::optional<QPoint> at = std::nullopt)
    {
        const QPoint local = at.value_or(over->rect().center());
        const QPoint global = over->mapToGlobal(local);
        QWheelEvent e(
            local, global, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &e);
    }

    // Types into a box as the user does: focus, empty, type.
    static void Type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->clear();
        QTest::keyClicks(box, text);
    }

    int Shown() const { return form->editKORTTINRO->text().toInt(); }

    TForm3* form3 = nullptr;
    TForm11* form11 = nullptr;
    TForm13* form13 = nullptr;
    std::vector<Opened> opened;
    std::map<QString, std::function<void()>> acts;
    // Set by an act: the window stays as the act left it, once.
    bool leaveOpen = false;  // by window name: "Form3", "Form11", "Form13"
};
