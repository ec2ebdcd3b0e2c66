// The field selection of the listing: which fields the listings of all cards
// and of all picked cards show, and whether a line separates the cards.
#pragma once

#include "listing.h"
#include "windows.h"

#include <QDialog>
#include <array>

class Platform;
class QCheckBox;
class QLabel;
class QPushButton;

class TForm10 : public QDialog {
    Q_OBJECT
public:
    explicit TForm10(WindowContext& context);

    // Opens the window modally; a tick takes effect at once, however the
    // window is closed (Kenttavalinnat1Click of the main window and of the
    // picked cards window).
    void ShowSelection();
    // The ticks as they stand now.
    FieldSelection Selection() const;

    void Button1Click();  // "Select all"
    void Button2Click();  // "Deselect all"
    void Button3Click();  // "OK"

    // CheckBox1 to CheckBox20: boxes[k] ticks cell k, boxes[19] the line
    // between the cards.
    std::array<QCheckBox*, FieldSelection::BoxCount> boxes{};
    std::array<QLabel*, 19> numberLabels{};  // "1." ... "19."
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Platform& platform_;
};
