// The search, pick and sort groups where they stand in the main window and
// in the picked cards window, and the picked cards window's own layout:
// every control named, nothing on top of anything else, the tab order.
#include "search_fixture.h"

#include "fieldeditors.h"
#include "fonts.h"
#include "support/labelink.h"

#include <QMenu>
#include <QMenuBar>

namespace {

class SearchLayoutTest : public SearchTest {
protected:
    void SetUp() override { StartWith(Rows(2)); }

    // Controls that lie on top of each other by more than a shared border line.
    static QStringList Overlaps(const std::vector<QWidget*>& shown)
    {
        QStringList overlaps;
        for (size_t i = 0; i < shown.size(); ++i)
            for (size_t j = i + 1; j < shown.size(); ++j) {
                const QRect both = shown[i]->geometry().intersected(shown[j]->geometry());
                if (!both.isEmpty() && both.width() > 1 && both.height() > 1)
                    overlaps << shown[i]->objectName() + QStringLiteral(" and ") + shown[j]->objectName();
            }
        return overlaps;
    }
    static std::vector<QWidget*> ShownChildren(QWidget* parent)
    {
        std::vector<QWidget*> shown;
        for (QWidget* w : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(parent->window()))
                shown.push_back(w);
        return shown;
    }
    // Each group's controls are named, lie inside it below its caption,
    // and keep clear of each other.
    static void CheckGroup(QGroupBox* group)
    {
        SCOPED_TRACE(group->title().toStdString());
        const std::vector<QWidget*> shown = ShownChildren(group);
        EXPECT_FALSE(shown.empty());
        for (QWidget* w : shown) {
            EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
            EXPECT_TRUE(group->contentsRect().contains(w->geometry())) << w->objectName().toStdString();
            // Readable: tall enough for the 11-pixel font.
            EXPECT_GE(w->height(), 16) << w->objectName().toStdString();
        }
        EXPECT_EQ(Overlaps(shown), QStringList{});
    }
    // Tab pressed from the first control: the names of the controls met.
    static QStringList TabWalk(QWidget* first, int steps)
    {
        QStringList walked;
        first->setFocus();
        for (int step = 0; step < steps; ++step) {
            walked << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return walked;
    }
    static QStringList GroupTabOrder()
    {
        QStringList order = {"ComboBox1", "ComboBox2", "Edit1", "btnSelaataakse", "btnPoimi", "btnSelaaeteen",
            "ComboBox3", "Edit2", "ComboBox4", "ComboBox5", "Edit3", "btnSelaaboltaakse", "btnBolpoimi",
            "btnSelaaboleteen"};
        for (int k = 6; k <= 17; ++k)
            order << QStringLiteral("ComboBox%1").arg(k);
        order << "RadioButton1"
              << "btnLajittelu";
        return order;
    }
};

}  // namespace

TEST_F(SearchLayoutTest, MainWindowGroupsStandInTheirPlaces)
{
    EXPECT_EQ(form->fieldSearch->geometry(), QRect(424, 150, 278, 102));
    EXPECT_EQ(form->booleanSearch->geometry(), QRect(424, 254, 278, 152));
    EXPECT_EQ(form->sortGroup->geometry(), QRect(424, 408, 278, 158));
    for (QGroupBox* g : std::initializer_list<QGroupBox*>{form->fieldSearch, form->booleanSearch, form->sortGroup}) {
        EXPECT_EQ(g->parentWidget(), form->centralWidget());
        CheckGroup(g);
    }
    EXPECT_EQ(Overlaps(ShownChildren(form->centralWidget())), QStringList{});
}

TEST_F(SearchLayoutTest, PickedWindowLayout)
{
    QWidget* area = form3->findChild<QWidget*>(QStringLiteral("CardArea"));
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->size(), QSize(706, 569));
    const std::vector<QWidget*> shown = ShownChildren(area);
    for (QWidget* w : shown) {
        EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
        EXPECT_TRUE(area->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
    EXPECT_EQ(Overlaps(shown), QStringList{});
    for (QGroupBox* g : std::initializer_list<QGroupBox*>{form3->fieldSearch, form3->booleanSearch, form3->sortGroup})
        CheckGroup(g);
    EXPECT_EQ(form3->fieldSearch->geometry(), form->fieldSearch->geometry());
    EXPECT_EQ(form3->booleanSearch->geometry(), form->booleanSearch->geometry());
    EXPECT_EQ(form3->sortGroup->geometry(), form->sortGroup->geometry());
    for (QAction* top : form3->MainMenu1->actions()) {
        EXPECT_FALSE(top->menu()->objectName().isEmpty());
        for (QAction* a : top->menu()->actions())
            EXPECT_TRUE(a->isSeparator() || !a->objectName().isEmpty()) << a->text().toStdString();
    }
    // Each label names its field for a screen reader.
    for (size_t cell = 0; cell < form3->fieldLabels.size(); ++cell)
        EXPECT_EQ(form3->fieldLabels[cell]->buddy(), form3->editors[cell]);
}

TEST_F(SearchLayoutTest, TabGoesThroughTheGroupsInTheirOrder)
{
    const QStringList groups = GroupTabOrder();
    EXPECT_EQ(TabWalk(form->btnLisaa, 3 + static_cast<int>(groups.size())),
        QStringList({"btnLisaa", "PrintBitBtn", "PreviewBitBtn"}) + groups);

    // The picked cards window: the card, its buttons, then the groups.
    acts[QStringLiteral("Form3")] = [this, groups] {
        QStringList order = {"memoTUNNISTE", "Memo2", "Memo3", "Edit5", "Edit6", "editVUOSI", "editSIVU",
            "memoASIASANAT1", "memoASIASANAT2", "Memo1", "Button1", "memoMUISTIINPANO", "editKORTTINRO", "btnGo",
            "btn10taakse", "btn10eteen", "btnHome", "btnEnd", "btnTaakse", "btnEteen", "editKOODI1", "editKOODI2",
            "Edit7", "Edit8", "Edit9", "Edit10", "Edit11", "btnListaus", "Button2", "btnPoistu", "PrintBitBtn",
            "PreviewBitBtn"};
        order += groups;
        EXPECT_EQ(TabWalk(form3->memoTUNNISTE, static_cast<int>(order.size())), order);
    };
    form->fieldSearch->ComboBox2->setCurrentIndex(6);
    form->fieldSearch->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1u);
}

// Every field label of both windows shows its whole caption ("15.mm", not
// "15.mn") at every screen scale: the ink of its text ends inside the label.
TEST_F(SearchLayoutTest, EveryFieldLabelShowsItsWholeCaption)
{
    const qreal ratios[] = {1.0, 1.25, 1.5, 2.0};
    std::vector<QLabel*> labels(form->fieldLabels.begin(), form->fieldLabels.end());
    labels.insert(labels.end(), form3->fieldLabels.begin(), form3->fieldLabels.end());
    {
        for (QLabel* label : labels) {
            ASSERT_NE(label, nullptr);
            SCOPED_TRACE(label->text().toStdString());
            for (qreal ratio : ratios)
                EXPECT_LE(InkRight(*label, ratio), label->width()) << "at " << ratio;
        }
    }
    EXPECT_EQ(form->fieldLabels[14]->text(), QStringLiteral("15.mm"));
    EXPECT_EQ(form3->fieldLabels[14]->text(), QStringLiteral("15.mm"));
    EXPECT_EQ(form->fieldLabels[14]->geometry().topLeft(), QPoint(561, 40));
    EXPECT_LT(form->fieldLabels[14]->geometry().right(), form->fieldLabels[15]->x());

    // At other sizes of its font too; a caption that fits is left as it is.
    struct Case {
        const char* caption;
        int pixels;
        bool narrowed;
    };
    for (const Case& c :
        {Case{"15.mm", 11, true}, Case{"15.mm", 12, true}, Case{"15.mm", 14, true}, Case{"16.dd", 11, false}}) {
        SCOPED_TRACE(std::string(c.caption) + " at " + std::to_string(c.pixels));
        QLabel label(QString::fromLatin1(c.caption));
        label.setFont(ArialPx(c.pixels));
        FitCaption(label, 30);
        label.adjustSize();
        label.resize(std::min(label.width(), 30), label.height());
        for (qreal ratio : ratios)
            EXPECT_LE(InkRight(label, ratio), 30.0) << "at " << ratio;
        const bool same = label.font().pixelSize() == c.pixels && label.font().letterSpacing() == 0;
        EXPECT_EQ(!same, c.narrowed);
    }
}

// The card area stands alike in both windows: each editor, its label, the
// order number box and the buttons that move are of the same kind, name and
// place, and Tab goes through them in the same order; only the captions and
// the window's own controls between them differ.
TEST_F(SearchLayoutTest, TheCardAreaStandsAlikeInBothWindows)
{
    const QStringList area = {"memoTUNNISTE", "Memo2", "Memo3", "Edit5", "Edit6", "editVUOSI", "editSIVU",
        "memoASIASANAT1", "memoASIASANAT2", "Memo1", "memoMUISTIINPANO", "editKORTTINRO", "btnGo", "btn10taakse",
        "btn10eteen", "btnHome", "btnEnd", "btnTaakse", "btnEteen", "editKOODI1", "editKOODI2", "Edit7", "Edit8",
        "Edit9", "Edit10", "Edit11"};
    // Tab from Title1 around the window, the card area's controls kept.
    auto walk = [&area](QWidget* window) {
        QStringList walked;
        window->findChild<QWidget*>(QStringLiteral("memoTUNNISTE"))->setFocus();
        for (int step = 0; step < 40; ++step) {
            const QString name = QApplication::focusWidget()->objectName();
            if (area.contains(name))
                walked << name;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return walked;
    };
    EXPECT_EQ(walk(form), area);
    acts[QStringLiteral("Form3")] = [&] {
        EXPECT_EQ(walk(form3), area);
        for (const QString& name : area) {
            SCOPED_TRACE(name.toStdString());
            auto* main = form->findChild<QWidget*>(name);
            auto* picked = form3->findChild<QWidget*>(name);
            ASSERT_TRUE(main && picked);
            EXPECT_STREQ(main->metaObject()->className(), picked->metaObject()->className());
            EXPECT_EQ(main->geometry(), picked->geometry());
            EXPECT_EQ(main->font().pixelSize(), picked->font().pixelSize());
        }
        for (int cell = 0; cell < MemoCell; ++cell) {
            const auto c = static_cast<size_t>(cell);
            EXPECT_EQ(form->fieldLabels[c]->pos(), form3->fieldLabels[c]->pos()) << cell;
        }
    };
    form->fieldSearch->ComboBox2->setCurrentIndex(6);
    form->fieldSearch->btnPoimi->click();
    ASSERT_EQ(opened.size(), 1u);
}
