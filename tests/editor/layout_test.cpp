// The main window's layout as a user and a screen reader meet it: every
// control named, nothing on top of anything else, each label beside its
// field and naming it, and the tab order.
#include "support/mainwindow_fixture.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

class LayoutTest : public MainWindowTest {
protected:
    void SetUp() override { Start({MakeFile(2)}); }

    QWidget* Area() const { return form->centralWidget(); }
    template <typename W = QWidget> W* Control(const char* name) const
    {
        W* w = Area()->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::vector<QWidget*> Shown() const
    {
        std::vector<QWidget*> shown;
        for (QWidget* w : Area()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(form))
                shown.push_back(w);
        return shown;
    }
};

}  // namespace

TEST_F(LayoutTest, EveryControlCarriesItsName)
{
    for (QWidget* w : Area()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        SCOPED_TRACE(w->metaObject()->className());
        EXPECT_FALSE(w->objectName().isEmpty());
    }
    for (QAction* top : form->menuBar()->actions()) {
        QMenu* menu = top->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_FALSE(menu->objectName().isEmpty()) << menu->title().toStdString();
        for (QAction* a : menu->actions())
            EXPECT_TRUE(a->isSeparator() || !a->objectName().isEmpty()) << a->text().toStdString();
    }
}

TEST_F(LayoutTest, NothingLiesOnTopOfAnythingElse)
{
    const std::vector<QWidget*> shown = Shown();
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            SCOPED_TRACE(shown[i]->objectName().toStdString() + " and " + shown[j]->objectName().toStdString());
            // Neighbours may share a border line, as the fields of the card
            // area are laid out, but no more.
            const QRect both = shown[i]->geometry().intersected(shown[j]->geometry());
            EXPECT_TRUE(both.isEmpty() || both.width() == 1 || both.height() == 1);
        }
    for (QWidget* w : shown)
        EXPECT_TRUE(Area()->rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST_F(LayoutTest, ThePrintButtonsStandRightOfNewCard)
{
    auto* print = Control<QPushButton>("PrintBitBtn");
    auto* preview = Control<QPushButton>("PreviewBitBtn");
    ASSERT_TRUE(print && preview);
    EXPECT_EQ(print->text(), QStringLiteral("&Print"));
    EXPECT_EQ(print->geometry(), QRect(596, 88, 104, 27));
    EXPECT_EQ(preview->text(), QStringLiteral("Previe&w"));
    EXPECT_EQ(preview->geometry(), QRect(596, 118, 104, 27));
    EXPECT_EQ(preview->toolTip(), QStringLiteral("Preview the Current Card"));
    EXPECT_GT(print->x(), form->btnLisaa->geometry().right());
}

TEST_F(LayoutTest, EachLabelSitsBesideItsFieldAndNamesIt)
{
    for (int cell = 0; cell < MemoCell; ++cell) {
        QLabel* label = form->fieldLabels[static_cast<size_t>(cell)];
        QWidget* editor = form->editors[static_cast<size_t>(cell)];
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_EQ(label->buddy(), editor);
        EXPECT_EQ(label->x(), editor->x());
        const bool below = cell == 4 || cell == 6;  // "5.Mo" and "7. Page"
        if (below) {
            EXPECT_GE(label->y(), editor->geometry().bottom() - 1);
            EXPECT_LE(label->y(), editor->geometry().bottom() + 6);
        } else {
            EXPECT_LE(label->geometry().bottom(), editor->y() + 1);
            EXPECT_GE(label->geometry().bottom(), editor->y() - 6);
        }
        // What a screen reader says of the field.
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(editor);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(QAccessible::Name), label->text());
        EXPECT_TRUE(field->state().editable);
        EXPECT_FALSE(field->state().readOnly);
        EXPECT_NE(field->editableTextInterface(), nullptr);
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form->memoMUISTIINPANO)->text(QAccessible::Name),
        QStringLiteral("18. Memo"));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(form->memoMUISTIINPANO)->state().editable);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(form->memoMUISTIINPANO)->state().readOnly);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form->editKORTTINRO)->text(QAccessible::Name),
        QStringLiteral("Card order number"));
    // The Date of action label stands left of the action fields.
    EXPECT_LT(form->lblDateOfAction->geometry().right(), form->Edit8->x());
}

TEST_F(LayoutTest, TabGoesThroughTheFieldsInTheirOrder)
{
    const QStringList order = {
        "memoTUNNISTE",
        "Memo2",
        "Memo3",
        "Edit5",
        "Edit6",
        "editVUOSI",
        "editSIVU",
        "memoASIASANAT1",
        "memoASIASANAT2",
        "Memo1",
        "Button1",
        "Button2",
        "memoMUISTIINPANO",
        "editKORTTINRO",
        "btnGo",
        "btn10taakse",
        "btn10eteen",
        "btnHome",
        "btnEnd",
        "btnTaakse",
        "btnEteen",
        "editKOODI1",
        "editKOODI2",
        "Edit7",
        "Edit8",
        "Edit9",
        "Edit10",
        "Edit11",
        "btnListaus",
        "Button3",
        "btnLisaa",
        "PrintBitBtn",
        "PreviewBitBtn",
        // The three groups: one field, two fields, sorting order.
        "ComboBox1",
        "ComboBox2",
        "Edit1",
        "btnSelaataakse",
        "btnPoimi",
        "btnSelaaeteen",
        "ComboBox3",
        "Edit2",
        "ComboBox4",
        "ComboBox5",
        "Edit3",
        "btnSelaaboltaakse",
        "btnBolpoimi",
        "btnSelaaboleteen",
        "ComboBox6",
        "ComboBox7",
        "ComboBox8",
        "ComboBox9",
        "ComboBox10",
        "ComboBox11",
        "ComboBox12",
        "ComboBox13",
        "ComboBox14",
        "ComboBox15",
        "ComboBox16",
        "ComboBox17",
        "RadioButton1",
        "btnLajittelu",
    };
    QStringList walked;
    form->memoTUNNISTE->setFocus();
    for (int step = 0; step < order.size(); ++step) {
        walked << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(walked, order);
}
