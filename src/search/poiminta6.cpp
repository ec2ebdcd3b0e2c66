#include "poiminta6.h"

#include "Preview.h"
#include "Unit10.h"
#include "listingcommands.h"
#include "printcommand.h"

#include "Unit13.h"
#include "cardfile.h"
#include "cardfind.h"
#include "cardstore.h"
#include "convert.h"
#include "filelink.h"
#include "filesteps.h"
#include "findmessage.h"
#include "fonts.h"
#include "picking.h"
#include "placement.h"
#include "platform.h"
#include "searchgroups.h"
#include "sorting.h"
#include "version.h"
#include "wiring.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString CardFileFilter = QStringLiteral("Cardomo data file (*.kqk)|*.kqk;*.kqd");

// The captions of the fields, in cell order; the main window's differ.
const std::array<const char*, MemoCell> FieldCaptions = {
    "1. Title",
    "2. Title",
    "3. Title",
    "4.D",
    "5.Mo",
    "6. Year",
    "7. Page",
    "8. Topic",
    "9. Keywords",
    "10. File link",
    "11. Code1",
    "12. Code2",
    "13. Code3",
    "14.yyyy",
    "15.mm",
    "16.dd",
    "17.hh+mm",
};

}  // namespace

TForm3::TForm3(WindowContext& context)
    : QDialog(nullptr),
      CardArea(context.platform),
      context_(context),
      s_(context.store),
      platform_(context.platform),
      pickedSave_(context.store, PlatformFacts(context.platform)),
      textSaver_(context, TextExportKind::PickedCards)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Picked Cards  -  CARDOMO  " CARDOMO_VERSION_MAJOR_MINOR " beta"));
    // A fixed frame with neither a minimise nor a maximise box.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("CardArea"));
    area->setFixedSize(706, 569);
    BuildCardArea(area);
    BuildButtons(area);
    BuildGroups(area);
    BuildMenus();
    BuildTabOrder();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(area);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    CentreOnScreen(*this);
    qApp->installEventFilter(this);
    link_.window = this;
    link_.showPicked = [this] { ShowPicked(); };
    link_.showCard = [this] { btnPaivitaClick(); };
}

TForm3::~TForm3()
{
    qApp->removeEventFilter(this);
}

std::vector<QWidget*> TForm3::SwitchedHintControls() const
{
    return {btnListaus, Button2};
}

QPushButton* TForm3::Button(QWidget* area, const char* name, const QString& caption, QRect geometry)
{
    auto* b = new QPushButton(caption, area);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setFont(ArialPx(11));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

void TForm3::BuildCardArea(QWidget* area)
{
    std::array<QString, MemoCell> captions;
    for (size_t cell = 0; cell < captions.size(); ++cell)
        captions[cell] = QString::fromLatin1(FieldCaptions[cell]);
    const std::array<QLabel*, MemoCell> labels = BuildFieldEditors(area, CardAreaUse::Showing, captions);
    std::copy(labels.begin(), labels.end(), fieldLabels.begin());

    auto label = [area](const char* name, const QString& text, QPoint at) {
        auto* l = new QLabel(text, area);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(ArialPx(11));
        l->move(at);
        l->adjustSize();
        return l;
    };
    // The Memo's label stands below it, where the main window shows its line count.
    QLabel* memoLabel = label("lblField18", QStringLiteral("18. Memo"), {25, 455});
    memoLabel->setBuddy(memoMUISTIINPANO);
    fieldLabels[MemoCell] = memoLabel;
    lblDateOfAction = label("lblDateOfAction", QStringLiteral("Date of action"), {434, 58});

    lblKorttitunnistenro = label("lblKorttitunnistenro", QString(), {25, 527});
    lblKorttitunnistenro->setFixedWidth(235);  // up to the navigation buttons
    Label10 = label("Label10", QStringLiteral("Card order number"), {71, 479});
    Label20 = label("Label20", QString(), {216, 480});
    Label20->setFixedWidth(45);
    BuildNumberBox(area);
    Label10->setBuddy(editKORTTINRO);
}

void TForm3::BuildButtons(QWidget* area)
{
    BuildMoveButtons(area,
        {.home = QStringLiteral("&Home"),
            .end = QStringLiteral("&End"),
            .previous = QStringLiteral("Pre&vious\nCard"),
            .next = QStringLiteral("&Next\nCard"),
            .tenBack = QStringLiteral("<-&10"),
            .tenForward = QStringLiteral("1&0->"),
            .go = QStringLiteral("&Go!")});
    Button1 = Button(area, "Button1", QStringLiteral("Open"), {343, 128, 70, 17});
    Wire(Button1, platform_, this, &TForm3::Button1Click);

    btnListaus = Button(area, "btnListaus", QStringLiteral("&List  F8"), {429, 88, 83, 27});
    btnListaus->setToolTip(QStringLiteral("Listing of picked cards"));
    Button2 = Button(area, "Button2", QStringLiteral("F&7"), {429, 118, 83, 27});
    Button2->setToolTip(QStringLiteral("List the current card"));
    btnPoistu = Button(area, "btnPoistu", QStringLiteral("&Close"), {516, 88, 74, 57});
    Wire(btnPoistu, platform_, this, &TForm3::btnPoistuClick);
    Wire(btnListaus, platform_, this, &TForm3::btnListausClick);
    Wire(Button2, platform_, this, &TForm3::Button2Click);
    PrintBitBtn = Button(area, "PrintBitBtn", QStringLiteral("&Print"), {596, 88, 104, 27});
    PreviewBitBtn = Button(area, "PreviewBitBtn", QStringLiteral("Previe&w"), {596, 118, 104, 27});
    Wire(PrintBitBtn, platform_, this, &TForm3::PrintBitBtnClick);
    Wire(PreviewBitBtn, platform_, this, &TForm3::PreviewBitBtnClick);
}

void TForm3::BuildGroups(QWidget* area)
{
    fieldSearch = new FieldSearchGroup(GroupPlace::PickedWindow, area);
    fieldSearch->setGeometry(424, 150, 278, 102);
    booleanSearch = new BooleanSearchGroup(GroupPlace::PickedWindow, area);
    booleanSearch->setGeometry(424, 254, 278, 152);
    sortGroup = new SortGroup(GroupPlace::PickedWindow, area);
    sortGroup->setGeometry(424, 408, 278, 158);

    Wire(fieldSearch->btnSelaataakse, platform_, this, &TForm3::btnSelaataakseClick);
    Wire(fieldSearch->btnPoimi, platform_, this, &TForm3::btnPoimiClick);
    Wire(fieldSearch->btnSelaaeteen, platform_, this, &TForm3::btnSelaaeteenClick);
    Wire(booleanSearch->btnSelaaboltaakse, platform_, this, &TForm3::btnSelaaboltaakseClick);
    Wire(booleanSearch->btnBolpoimi, platform_, this, &TForm3::btnbolpoimiClick);
    Wire(booleanSearch->btnSelaaboleteen, platform_, this, &TForm3::btnSelaaboleteenClick);
    Wire(sortGroup->btnLajittelu, platform_, this, &TForm3::btnLajitteluClick);

    for (const std::vector<QWidget*>& owners :
        {fieldSearch->WheelOwners(), booleanSearch->WheelOwners(), sortGroup->WheelOwners()})
        AddWheelOwners(owners);
}

void TForm3::BuildMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto entry = [this](QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
        return a;
    };
    Poimitutkortit1 = MainMenu1->addMenu(QStringLiteral("Picked cards"));
    Poimitutkortit1->setObjectName(QStringLiteral("Poimitutkortit1"));
    Tallenna1 =
        entry(Poimitutkortit1, "Tallenna1", QStringLiteral("Save As Card file"), QKeySequence(Qt::CTRL | Qt::Key_R));
    Wire(Tallenna1, platform_, this, &TForm3::Tallenna1Click);
    Tallennanimell1 = entry(
        Poimitutkortit1, "Tallennanimell1", QStringLiteral("Save As Text File"), QKeySequence(Qt::CTRL | Qt::Key_K));
    Tallennatekstinsivunvaihdot1 = entry(Poimitutkortit1, "Tallennatekstinsivunvaihdot1",
        QStringLiteral("Save As Text (With Page Feeds)"), QKeySequence(Qt::CTRL | Qt::Key_U));
    Esikatselu1 = entry(Poimitutkortit1, "Esikatselu1", QStringLiteral("Preview"), QKeySequence(Qt::CTRL | Qt::Key_E));
    Tulosta1 = entry(Poimitutkortit1, "Tulosta1", QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    // Esc works through the window's keys.
    Suljelomake1 = entry(Poimitutkortit1, "Suljelomake1", QStringLiteral("Close The Form            ESC"), {});
    Wire(Suljelomake1, platform_, this, &TForm3::btnPoistuClick);

    Tools1 = MainMenu1->addMenu(QStringLiteral("Tools"));
    Tools1->setObjectName(QStringLiteral("Tools1"));
    Suodatakorttialue1 =
        entry(Tools1, "Suodatakorttialue1", QStringLiteral("Filter cards in order"), QKeySequence(Qt::Key_F2));
    Wire(Suodatakorttialue1, platform_, this, &TForm3::Suodatakorttialue1Click);

    Setup1 = MainMenu1->addMenu(QStringLiteral("Setup"));
    Setup1->setObjectName(QStringLiteral("Setup1"));
    Kenttvalinnat1 =
        entry(Setup1, "Kenttvalinnat1", QStringLiteral("Select fields for listing"), QKeySequence(Qt::Key_F4));

    Wire(Tallennanimell1, platform_, this, &TForm3::Tallennanimell1Click);
    Wire(Tallennatekstinsivunvaihdot1, platform_, this, &TForm3::Tallennatekstinsivunvaihdot1Click);
    Wire(Kenttvalinnat1, platform_, this, &TForm3::Kenttvalinnat1Click);
    Wire(Esikatselu1, platform_, this, &TForm3::PreviewBitBtnClick);
    Wire(Tulosta1, platform_, this, &TForm3::PrintBitBtnClick);
}

void TForm3::BuildTabOrder()
{
    std::vector<QWidget*> after = {btnListaus, Button2, btnPoistu, PrintBitBtn, PreviewBitBtn};
    for (const std::vector<QWidget*>& group :
        {fieldSearch->TabOrder(), booleanSearch->TabOrder(), sortGroup->TabOrder()})
        after.insert(after.end(), group.begin(), group.end());
    SetTabOrder({Button1}, after);
}

// ---------------------------------------------------------------------------
// Opening, showing and closing

void TForm3::ShowPicked()
{
    open_ = true;
    btnPaivitaClick();
    do
        platform_.RunModal(*this);
    while (open_ && isVisible());
}

bool TForm3::HasPickedSet() const
{
    return s_.PickedCount >= 1 && static_cast<size_t>(s_.PickedCount) <= s_.PickedTable.size();
}

void TForm3::btnPaivitaClick()
{
    if (!HasPickedSet() || s_.CurrentPicked < 0 || s_.CurrentPicked >= s_.PickedCount)
        return;
    const Card& row = s_.PickedTable[static_cast<size_t>(s_.CurrentPicked)];
    ShowFields(row);
    lblKorttitunnistenro->setText(QStringLiteral("19. Tunniste: ") + row[CardIdCell]);
    editKORTTINRO->setText(QString::number(s_.CurrentPicked + 1));
    Label20->setText(QStringLiteral(" / ") + QString::number(s_.PickedCount));
}

void TForm3::DiscardPickedSet()
{
    s_.PickedWindowActive = false;
    // PickedCount keeps its value: the next pick sets it anew.
    CardRows().swap(s_.PickedTable);
    open_ = false;
}

void TForm3::btnPoistuClick()
{
    DiscardPickedSet();
    done(QDialog::Rejected);
    if (MainWindowLink* link = context_.windows.main) {
        QWidget* main = link->window;
        main->setEnabled(true);
        main->raise();
        main->activateWindow();
    }
}

void TForm3::closeEvent(QCloseEvent* event)
{
    DiscardPickedSet();
    QDialog::closeEvent(event);
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// Moving within the picked set

void TForm3::MoveTo(int row)
{
    if (!HasPickedSet())
        return;
    s_.CurrentPicked = std::clamp(row, 0, s_.PickedCount - 1);
    btnPaivitaClick();
}

void TForm3::btnHomeClick()
{
    MoveTo(0);
}
void TForm3::btnEndClick()
{
    MoveTo(s_.PickedCount - 1);
}
void TForm3::btnTaakseClick()
{
    MoveTo(s_.CurrentPicked - 1);
}
void TForm3::btnEteenClick()
{
    MoveTo(s_.CurrentPicked + 1);
}
void TForm3::btn10taakseClick()
{
    MoveTo(s_.CurrentPicked - 10);
}
void TForm3::btn10eteenClick()
{
    MoveTo(s_.CurrentPicked + 10);
}

void TForm3::btnGoClick()
{
    const QString text = editKORTTINRO->text();
    if (text.isEmpty() || !HasPickedSet())
        return;
    const int n = StrToInt(text);
    if (n >= 1 && n <= s_.PickedCount)
        MoveTo(n - 1);
    else
        editKORTTINRO->setText(QString::number(s_.CurrentPicked + 1));
}

// ---------------------------------------------------------------------------
// Searching, filtering and sorting the picked set

void TForm3::btnSelaaeteenClick()
{
    const FindOutcome found = FindPicked(s_, SearchDirection::Forward, fieldSearch->Test());
    ShowFindOutcome(platform_, found, [this] { btnPaivitaClick(); });
}

void TForm3::btnSelaataakseClick()
{
    const FindOutcome found = FindPicked(s_, SearchDirection::Backward, fieldSearch->Test());
    ShowFindOutcome(platform_, found, [this] { btnPaivitaClick(); });
}

void TForm3::btnSelaaboleteenClick()
{
    const FindOutcome found = FindPicked(s_, SearchDirection::Forward, booleanSearch->Test());
    ShowFindOutcome(platform_, found, [this] { btnPaivitaClick(); });
}

void TForm3::btnSelaaboltaakseClick()
{
    const FindOutcome found = FindPicked(s_, SearchDirection::Backward, booleanSearch->Test());
    ShowFindOutcome(platform_, found, [this] { btnPaivitaClick(); });
}

void TForm3::btnPoimiClick()
{
    if (FilterPicked(s_, fieldSearch->Test()).status == PickStatus::NotFound)
        platform_.Message(NotFoundText());
    else
        btnPaivitaClick();
}

void TForm3::btnbolpoimiClick()
{
    if (FilterPicked(s_, booleanSearch->Test()).status == PickStatus::NotFound)
        platform_.Message(NotFoundText());
    else
        btnPaivitaClick();
}

void TForm3::btnLajitteluClick()
{
    SortPickedTable(s_, sortGroup->Keys(), sortGroup->Direction());
    btnPaivitaClick();  // the last card of the new order
}

void TForm3::Suodatakorttialue1Click()
{
    context_.windows.form13->ShowFiltering();
}

// ---------------------------------------------------------------------------
// The file link and saving the picked cards as a card file

void TForm3::Button1Click()
{
    platform_.ShellOpen(FileLinkTarget(Memo1->Text(), QDir::currentPath()));
}

void TForm3::Tallenna1Click()
{
    const std::optional<QString> chosen = platform_.SaveFileDialog(
        {QStringLiteral("Save Cardomo card file as (.kqk) UTF-8"), CardFileFilter, pickedSave_.DialogName()});
    ShowFileSteps(platform_, pickedSave_.Save(chosen),
        [this](const SessionStep& asked, SessionAnswer answer) { return pickedSave_.Answer(asked, answer); });
}

// ---------------------------------------------------------------------------
// Keys and the wheel

bool TForm3::WindowKeyPress(QKeyEvent* key, QWidget*)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    // The function keys press their buttons (a disabled one does nothing);
    // Esc closes. These keys go no further.
    if (mods == Qt::NoModifier) {
        QPushButton* button = nullptr;
        switch (key->key()) {
        case Qt::Key_F7:
            button = Button2;
            break;
        case Qt::Key_F8:
            button = btnListaus;
            break;
        case Qt::Key_F9:
            button = fieldSearch->btnPoimi;
            break;
        case Qt::Key_F10:
            button = booleanSearch->btnBolpoimi;
            break;
        case Qt::Key_F11:
            button = sortGroup->btnLajittelu;
            break;
        case Qt::Key_Escape:
            button = btnPoistu;
            break;
        default:
            break;
        }
        if (button) {
            button->click();
            return true;
        }
    }
    // The card area has the keys that move.
    return false;
}

bool TForm3::eventFilter(QObject* watched, QEvent* event)
{
    // The card area sees the window's keys and wheel before its controls.
    if (const std::optional<bool> taken = PreviewEvent(this, watched, event))
        return *taken;
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Listing and saving as text

void TForm3::btnListausClick()
{
    ListCards(context_, ListingKind::PickedCards, this);
}

void TForm3::Button2Click()
{
    ListCards(context_, ListingKind::CurrentPickedCard, this);
}

void TForm3::Tallennanimell1Click()
{
    textSaver_.Save();
}

void TForm3::Tallennatekstinsivunvaihdot1Click()
{
    textSaver_.SaveWithPageFeeds();
}

void TForm3::Kenttvalinnat1Click()
{
    context_.windows.form10->ShowSelection();
}

// ---------------------------------------------------------------------------
// Preview and printing

void TForm3::PreviewBitBtnClick()
{
    if (!HasPickedSet())
        return;
    context_.print.PrintMode = PrintMode::PickedCardPrint;
    context_.print.piilomemo.Clear();
    if (context_.windows.preview->ShowPreview() == TPreviewForm::Print)
        PrintBitBtnClick();
}

void TForm3::PrintBitBtnClick()
{
    if (!HasPickedSet())
        return;
    PrintPages(context_, printDialog_, PrintMode::PickedCardPrint);
}
