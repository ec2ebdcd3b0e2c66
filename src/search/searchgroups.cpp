#include "searchgroups.h"

#include "card.h"
#include "fonts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The longest search string typed in the main window's groups.
constexpr int MainSearchLength = 128;

// The group's caption is bold; its controls use the plain window font.
void SetUpGroup(QGroupBox* group, const char* name, const QString& caption)
{
    group->setObjectName(QString::fromLatin1(name));
    group->setTitle(caption);
    group->setFont(ArialPx(11, true));
}

template <typename W> W* Named(W* w, const char* name, QRect geometry)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    w->setFont(ArialPx(11));
    return w;
}

// A drop-down list without typing.
QComboBox* Chooser(QWidget* group, const char* name, QRect geometry, const QString& accessibleName)
{
    auto* c = Named(new QComboBox(group), name, geometry);
    c->setEditable(false);
    c->setAccessibleName(accessibleName);
    // A screen reader on Linux names a list by its current entry; the
    // description still says which list it is.
    c->setAccessibleDescription(accessibleName);
    return c;
}

// The 19 field names "1 Title1" ... "19 Card ID"; the index is the cell.
QComboBox* FieldChooser(QWidget* group, const char* name, QRect geometry, const QString& accessibleName)
{
    QComboBox* c = Chooser(group, name, geometry, accessibleName);
    for (const FieldInfo& field : Fields)
        c->addItem(QString::fromUtf8(field.chooserEntry));
    c->setMaxVisibleItems(FieldCount);
    c->setCurrentIndex(0);
    return c;
}

QLineEdit* SearchBox(QWidget* group, const char* name, QRect geometry, GroupPlace place, const QString& accessibleName)
{
    auto* e = Named(new QLineEdit(group), name, geometry);
    if (place == GroupPlace::MainWindow)
        e->setMaxLength(MainSearchLength);
    e->setAccessibleName(accessibleName);
    return e;
}

QPushButton* GroupButton(QWidget* group, const char* name, const QString& caption, QRect geometry)
{
    auto* b = Named(new QPushButton(caption, group), name, geometry);
    // Enter in a search string runs the button it is wired to, never a
    // default button of the window.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

}  // namespace

// ---------------------------------------------------------------------------
// One field

FieldSearchGroup::FieldSearchGroup(GroupPlace place, QWidget* parent) : QGroupBox(parent)
{
    const bool main = place == GroupPlace::MainWindow;
    SetUpGroup(this, main ? "GroupBox1" : "GroupBox4",
        main ? QStringLiteral("SEARCH FROM ONE FIELD") : QStringLiteral("FILTER FROM ONE FIELD"));
    ComboBox1 = FieldChooser(this, "ComboBox1", {6, 19, 186, 22}, QStringLiteral("Field to search from"));
    ComboBox2 = Chooser(this, "ComboBox2", {198, 19, 74, 22}, QStringLiteral("Operator"));
    for (QStringView op : MatchOperatorTexts)
        ComboBox2->addItem(op.toString());
    ComboBox2->setCurrentIndex(0);
    Edit1 = SearchBox(this, "Edit1", {6, 45, 266, 22}, place, QStringLiteral("Search string"));
    btnSelaataakse = GroupButton(this, "btnSelaataakse", QStringLiteral("Find previou&s"), {6, 71, 86, 26});
    btnPoimi = GroupButton(
        this, "btnPoimi", main ? QStringLiteral("PI&CK F9") : QStringLiteral("Filter F&9"), {96, 71, 86, 26});
    btnSelaaeteen = GroupButton(this, "btnSelaaeteen", QStringLiteral("Find ne&xt"), {186, 71, 86, 26});
    if (main) {
        ComboBox1->setToolTip(QStringLiteral("Select the field to search from"));
        Edit1->setToolTip(QStringLiteral("Write a String or a part of it you want to find"));
        btnSelaataakse->setToolTip(QStringLiteral("Find previous card"));
        btnPoimi->setToolTip(QStringLiteral("Pick the cards"));
        btnSelaaeteen->setToolTip(QStringLiteral("Find  next card with searched word"));
    }
    connect(Edit1, &QLineEdit::returnPressed, btnPoimi, &QPushButton::click);
}

FieldTest FieldSearchGroup::Test() const
{
    return {ComboBox1->currentIndex() + 1, static_cast<MatchOperator>(ComboBox2->currentIndex()), Edit1->text()};
}

std::vector<QWidget*> FieldSearchGroup::WheelOwners() const
{
    return {ComboBox1, ComboBox2, Edit1};
}

std::vector<QWidget*> FieldSearchGroup::FileControls() const
{
    return {Edit1, btnSelaataakse, btnPoimi, btnSelaaeteen};
}

std::vector<QWidget*> FieldSearchGroup::TabOrder() const
{
    return {ComboBox1, ComboBox2, Edit1, btnSelaataakse, btnPoimi, btnSelaaeteen};
}

// ---------------------------------------------------------------------------
// Two fields

BooleanSearchGroup::BooleanSearchGroup(GroupPlace place, QWidget* parent) : QGroupBox(parent)
{
    const bool main = place == GroupPlace::MainWindow;
    SetUpGroup(this, main ? "GroupBox2" : "GroupBox5",
        main ? QStringLiteral("BOOLEAN SEARCH FROM TWO FIELDS") : QStringLiteral("BOOLEAN FILTERING FROM TWO FIELDS"));
    // Each half: a field chooser, " ~" and its search string on one line;
    // the connective between the two halves.
    ComboBox3 = FieldChooser(this, "ComboBox3", {6, 18, 150, 22}, QStringLiteral("First field"));
    Label8 = Named(new QLabel(QStringLiteral(" ~"), this), "Label8", {158, 18, 16, 22});
    Edit2 = SearchBox(this, "Edit2", {176, 18, 96, 22}, place, QStringLiteral("First search string"));
    Label8->setBuddy(Edit2);
    ComboBox4 = Chooser(this, "ComboBox4", {6, 47, 70, 22}, QStringLiteral("Connective"));
    for (QStringView connective : BooleanConnectiveTexts)
        ComboBox4->addItem(connective.toString());
    ComboBox4->setCurrentIndex(0);
    ComboBox5 = FieldChooser(this, "ComboBox5", {6, 76, 150, 22}, QStringLiteral("Second field"));
    Label9 = Named(new QLabel(QStringLiteral(" ~"), this), "Label9", {158, 76, 16, 22});
    Edit3 = SearchBox(this, "Edit3", {176, 76, 96, 22}, place, QStringLiteral("Second search string"));
    Label9->setBuddy(Edit3);
    btnSelaaboltaakse = GroupButton(this, "btnSelaaboltaakse", QStringLiteral("&Find previous"), {6, 110, 86, 30});
    // In the main window Alt+F belongs to the File menu, as in every desktop
    // program; this find has Alt+Left as its key. The caption keeps its
    // marked letter.
    if (main)
        btnSelaaboltaakse->setShortcut(QKeySequence());
    btnBolpoimi = GroupButton(
        this, "btnBolpoimi", main ? QStringLiteral("PIC&K F10") : QStringLiteral("Filter F10"), {96, 110, 86, 30});
    btnSelaaboleteen = GroupButton(this, "btnSelaaboleteen", QStringLiteral("Find nex&t"), {186, 110, 86, 30});
    connect(Edit2, &QLineEdit::returnPressed, btnBolpoimi, &QPushButton::click);
    connect(Edit3, &QLineEdit::returnPressed, btnBolpoimi, &QPushButton::click);
}

BooleanTest BooleanSearchGroup::Test() const
{
    return {ComboBox3->currentIndex() + 1, Edit2->text(), static_cast<BooleanConnective>(ComboBox4->currentIndex()),
        ComboBox5->currentIndex() + 1, Edit3->text()};
}

std::vector<QWidget*> BooleanSearchGroup::WheelOwners() const
{
    return {ComboBox3, ComboBox4, ComboBox5, Edit2, Edit3};
}

std::vector<QWidget*> BooleanSearchGroup::FileControls() const
{
    return {Edit2, Edit3, btnSelaaboltaakse, btnBolpoimi, btnSelaaboleteen};
}

std::vector<QWidget*> BooleanSearchGroup::TabOrder() const
{
    return {ComboBox3, Edit2, ComboBox4, ComboBox5, Edit3, btnSelaaboltaakse, btnBolpoimi, btnSelaaboleteen};
}

// ---------------------------------------------------------------------------
// Sorting order

SortGroup::SortGroup(GroupPlace place, QWidget* parent) : QGroupBox(parent)
{
    const bool main = place == GroupPlace::MainWindow;
    SetUpGroup(this, main ? "GroupBox3" : "GroupBox6",
        main ? QStringLiteral("SORTING ORDER") : QStringLiteral("Sorting order"));
    // Key 1 at the top left, key 12 at the bottom right; each lists the
    // field numbers "1" to "19", and key k starts on field k.
    for (int k = 0; k < SortKeyCount; ++k) {
        const QByteArray name = "ComboBox" + QByteArray::number(6 + k);
        const QRect place6{6 + (k % 6) * 44, 20 + (k / 6) * 28, 42, 22};
        QComboBox* c = Chooser(this, name.constData(), place6, QStringLiteral("Sort key ") + QString::number(k + 1));
        for (int field = 1; field <= FieldCount; ++field)
            c->addItem(QString::number(field));
        c->setMaxVisibleItems(FieldCount);
        c->setCurrentIndex(DefaultSortKeyFields[static_cast<size_t>(k)] - 1);
        keyChoosers[static_cast<size_t>(k)] = c;
    }
    RadioButton1 = Named(new QRadioButton(QStringLiteral("Ascending"), this), "RadioButton1", {8, 82, 110, 22});
    RadioButton2 = Named(new QRadioButton(QStringLiteral("Descending"), this), "RadioButton2", {8, 108, 110, 22});
    RadioButton1->setChecked(true);
    btnLajittelu = GroupButton(
        this, "btnLajittelu", main ? QStringLiteral("SORT  F11") : QStringLiteral("SORT F11"), {140, 84, 132, 44});
}

SortKeyFields SortGroup::Keys() const
{
    SortKeyFields fields{};
    for (size_t k = 0; k < fields.size(); ++k)
        fields[k] = keyChoosers[k]->currentIndex() + 1;
    return fields;
}

SortDirection SortGroup::Direction() const
{
    return RadioButton2->isChecked() ? SortDirection::Descending : SortDirection::Ascending;
}

std::vector<QWidget*> SortGroup::WheelOwners() const
{
    return {keyChoosers.begin(), keyChoosers.end()};
}

std::vector<QWidget*> SortGroup::TabOrder() const
{
    std::vector<QWidget*> order(keyChoosers.begin(), keyChoosers.end());
    order.push_back(RadioButton1);
    order.push_back(RadioButton2);
    order.push_back(btnLajittelu);
    return order;
}
