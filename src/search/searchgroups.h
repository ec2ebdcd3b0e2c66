// The search, pick and sort groups. The main window and the picked cards
// window each hold their own three groups, filled with the same lists and
// first selections; each group keeps its values for as long as the program
// runs. A group reads its controls into a test or a sort order; the window
// that holds it wires the buttons to its own commands.
#pragma once

#include "match.h"
#include "sorting.h"

#include <QGroupBox>
#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Where a group stands: the main window searches and picks from the card
// file, the picked cards window searches and filters its picked set. The
// place gives the captions, the hints and the length of the search strings.
enum class GroupPlace { MainWindow, PickedWindow };

// One field tested with one of the seven operators: "SEARCH FROM ONE FIELD"
// in the main window, "FILTER FROM ONE FIELD" in the picked cards window.
// Enter in the search string presses the middle button (pick or filter).
class FieldSearchGroup : public QGroupBox {
    Q_OBJECT
public:
    FieldSearchGroup(GroupPlace place, QWidget* parent);

    // The field, the operator and the search string as they stand now.
    FieldTest Test() const;
    // The choosers and the search string: they keep the mouse wheel.
    std::vector<QWidget*> WheelOwners() const;
    // The search string and the three buttons: they need an open card file
    // in the main window.
    std::vector<QWidget*> FileControls() const;
    std::vector<QWidget*> TabOrder() const;

    QComboBox* ComboBox1;  // field
    QComboBox* ComboBox2;  // operator
    QLineEdit* Edit1;  // search string
    QPushButton* btnSelaataakse;  // find previous
    QPushButton* btnPoimi;  // pick (main window) or filter (picked cards window)
    QPushButton* btnSelaaeteen;  // find next

private:
};

// Two fields, each tested with "~", joined by AND, OR, XOR or NOT: "BOOLEAN
// SEARCH FROM TWO FIELDS" in the main window, "BOOLEAN FILTERING FROM TWO
// FIELDS" in the picked cards window. Enter in either search string presses
// the middle button.
class BooleanSearchGroup : public QGroupBox {
    Q_OBJECT
public:
    BooleanSearchGroup(GroupPlace place, QWidget* parent);

    BooleanTest Test() const;

    std::vector<QWidget*> WheelOwners() const;
    std::vector<QWidget*> FileControls() const;
    std::vector<QWidget*> TabOrder() const;

    QComboBox* ComboBox3;  // first field
    QLabel* Label8;  // " ~"
    QLineEdit* Edit2;  // first search string
    QComboBox* ComboBox4;  // connective
    QComboBox* ComboBox5;  // second field
    QLabel* Label9;  // " ~"
    QLineEdit* Edit3;  // second search string
    QPushButton* btnSelaaboltaakse;  // find previous
    QPushButton* btnBolpoimi;  // Boolean pick or Boolean filter
    QPushButton* btnSelaaboleteen;  // find next
};

// The twelve sort keys in two rows of six and the direction: "SORTING ORDER"
// in the main window, "Sorting order" in the picked cards window.
class SortGroup : public QGroupBox {
    Q_OBJECT
public:
    SortGroup(GroupPlace place, QWidget* parent);

    SortKeyFields Keys() const;
    SortDirection Direction() const;

    std::vector<QWidget*> WheelOwners() const;
    std::vector<QWidget*> TabOrder() const;

    // ComboBox6 (key 1) ... ComboBox17 (key 12).
    std::array<QComboBox*, SortKeyCount> keyChoosers{};
    QRadioButton* RadioButton1;  // "Ascending"
    QRadioButton* RadioButton2;  // "Descending"
    QPushButton* btnLajittelu;
};
