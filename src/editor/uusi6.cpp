#include "uusi6.h"

#include "deferredview.h"

#include "Preview.h"
#include "Unit10.h"
#include "Unit11.h"
#include "Unit12.h"
#include "Unit15.h"
#include "Unit16.h"
#include "Unit18.h"
#include "Unit19.h"
#include "Unit20.h"
#include "Unit9.h"
#include "cardcommands.h"
#include "cardfile.h"
#include "cardfilesession.h"
#include "cardfind.h"
#include "convert.h"
#include "filelink.h"
#include "filenames.h"
#include "filesteps.h"
#include "findmessage.h"
#include "fonts.h"
#include "frmAbout6.h"
#include "importing.h"
#include "inputrules.h"
#include "listingcommands.h"
#include "longwork.h"
#include "manualfile.h"
#include "ohje6.h"
#include "opening.h"
#include "picking.h"
#include "printcommand.h"
#include "recoverykeeper.h"
#include "searchgroups.h"
#include "sorting.h"
#include "version.h"
#include "wiring.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScopeGuard>
#include <algorithm>
#include <utility>

namespace {

const QString ProgramCaption = QStringLiteral(" - CARDOMO " CARDOMO_VERSION_MAJOR_MINOR " beta");
const QString StartCaption = QStringLiteral("CARDOMO " CARDOMO_VERSION_MAJOR_MINOR "  beta - Note Card Software");
const QString ClosedCaption = QStringLiteral("CARDOMO " CARDOMO_VERSION_MAJOR_MINOR ". beta");
const QString CardFileFilter = QStringLiteral("CARDOMO data file (*.KQK)|*.KQK;*.KQD");
const QString& NoSuchFile = NoSuchFileMessage;

// A key press that types a character: Backspace, and a key whose text an
// editor takes as input (a printable character, also one beyond U+FFFF or a
// format character); not Enter, Tab, Esc or Delete, and not a key held with
// Ctrl, which is a shortcut (select all, copy...) rather than typing. Ctrl
// with Alt may be AltGr and types.
bool TypesCharacter(const QKeyEvent* key)
{
    if (key->key() == Qt::Key_Backspace)
        return true;
    const Qt::KeyboardModifiers mods =
        key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier);
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier))
        return false;
    if (mods & Qt::MetaModifier)
        return false;
    const QString t = key->text();
    if (t.isEmpty())
        return false;
    const QChar c = t.at(0);
    if (c.category() == QChar::Other_Format || c.category() == QChar::Other_PrivateUse)
        return true;
    if (c.isHighSurrogate())
        return t.size() > 1 && t.at(1).isLowSurrogate();
    return c.isPrint();
}

// A key press that can change an edit line's or a one-line box's text and
// so marks the card file changed: Backspace, and any key that carries a
// character, control characters included (Ctrl+V pastes, Ctrl+X cuts, Ctrl+Z
// undoes); not Enter, Tab, Esc or Delete.
bool MarksFieldChanged(const QKeyEvent* key)
{
    if (key->key() == Qt::Key_Backspace)
        return true;
    if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab
        || key->key() == Qt::Key_Backtab)
        return false;
    const QString t = key->text();
    return !t.isEmpty() && t != QStringLiteral("\r") && t != QStringLiteral("\n") && t != QStringLiteral("\t")
        && t != QStringLiteral("\x1b") && t != QStringLiteral("\x7f");
}

bool IsEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

TForm1::TForm1(WindowContext& context)
    : QMainWindow(nullptr),
      CardArea(context.platform),
      context_(context),
      s_(context.store),
      platform_(context.platform),
      session_(context.store, PlatformFacts(context.platform)),
      textSaver_(context, TextExportKind::AllCards)
{
    setObjectName(QStringLiteral("Form1"));
    printDialog_.range = PrintRange::PageRange;
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("CardArea"));
    area->setFixedSize(706, 569);
    setCentralWidget(area);
    BuildCardArea(area);
    BuildButtons(area);
    BuildGroups(area);
    BuildMenus();
    BuildTabOrder();
    // The hints that "Show Hints" switches, as the controls carry them.
    for (QWidget* w : std::initializer_list<QWidget*>{memoTUNNISTE, Memo2, Memo1, Button1, Button2, Button3, Edit5,
             btnListaus, fieldSearch->ComboBox1, btnTaakse, btnEteen, btnHome, btnEnd, btn10taakse, btn10eteen})
        AddSwitchedHint(w, w->toolTip());
    // A system menu and a minimise button, no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    memoMUISTIINPANO->setPlainText(
        QStringLiteral("CARDOMO " CARDOMO_VERSION_MAJOR_MINOR "  beta   (v." CARDOMO_VERSION_FULL ")\n"
                       "Note Card Software\n"
                       "Made by the Note Card Software team\n"
                       "for people who keep their notes on cards.\n"
                       "The product web site: see Help - About\n"
                       "Please open existing card file:\n"
                       "File - Open -->\n"
                       "or\n"
                       "Create new one:\n"
                       "File - New -->"));
    connect(memoMUISTIINPANO, &QPlainTextEdit::textChanged, this,
        [this] { RunCommand(platform_, [this] { MemoChanged(); }); });
    qApp->installEventFilter(this);
    link_.window = this;
    link_.editors = this;
    link_.storeShownCard = [this] { btnTallennaClick(); };
    link_.showCard = [this] { btnPaivitaClick(); };
    link_.deferView = [this](DeferredCardView* view) { deferredView_ = view; };
    recovery_ = std::make_unique<RecoveryKeeper>(context_, link_);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
}

QPushButton* TForm1::Button(
    QWidget* area, const char* name, const QString& caption, QRect geometry, void (TForm1::*handler)())
{
    auto* b = new QPushButton(caption, area);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setFont(ArialPx(11));
    b->setAutoDefault(false);
    Wire(b, platform_, this, handler);
    return b;
}

QAction* TForm1::Entry(
    QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut, void (TForm1::*handler)())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    if (handler)
        Wire(a, platform_, this, handler);
    return a;
}

void TForm1::BuildCardArea(QWidget* area)
{
    std::array<QString, MemoCell> captions;
    for (int cell = 0; cell < MemoCell; ++cell)
        captions[static_cast<size_t>(cell)] = QString::fromUtf8(Fields[cell].label);
    fieldLabels = BuildFieldEditors(area, CardAreaUse::Editing, captions);
    memoMUISTIINPANO->setAccessibleName(QStringLiteral("18. Memo"));

    lblDateOfAction = new QLabel(QStringLiteral("Date of action:"), area);
    lblDateOfAction->setObjectName(QStringLiteral("lblDateOfAction"));
    lblDateOfAction->setFont(ArialPx(11));
    lblDateOfAction->move(434, 58);
    lblDateOfAction->adjustSize();

    memoTUNNISTE->setToolTip(QStringLiteral("Move to the next field with TAB or by pressing Enter"));
    Memo2->setToolTip(QStringLiteral("Move to the previous field by pressing Sift + TAB"));
    Edit5->setToolTip(QStringLiteral("Date of source: Day (A number with two digits like '06')"));
    Edit6->setToolTip(QStringLiteral("Date of source: Month (A number with two digits like '12')"));
    editVUOSI->setToolTip(
        QStringLiteral("Date of source: Year (A number with four digits plus maybe a character like 2018b)"));
    Memo1->setToolTip(
        QStringLiteral("Create data link: Write an URL or choose the file with the 'Create' button below."));

    auto label = [area](const char* name, QPoint at, int minimumWidth) {
        auto* l = new QLabel(area);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(ArialPx(11));
        l->move(at);
        l->setMinimumWidth(minimumWidth);
        return l;
    };
    lblKorttitunnistenro = label("lblKorttitunnistenro", {25, 527}, 235);
    lblKorttitunnistenro->setFixedWidth(235);  // up to the navigation buttons
    Label22 = label("Label22", {25, 455}, 130);
    Label10 = label("Label10", {71, 479}, 90);
    Label10->setText(QStringLiteral("Card order number"));
    Label10->adjustSize();
    Label23 = label("Label23", {216, 480}, 45);
    BuildNumberBox(area);
    Label10->setBuddy(editKORTTINRO);

    fileControls_.insert(fileControls_.end(), editors.begin(), editors.end());
    fileControls_.push_back(editKORTTINRO);
    fileControls_.push_back(Label10);
}

void TForm1::BuildButtons(QWidget* area)
{
    btnTallenna =
        Button(area, "btnTallenna", QStringLiteral("Tallenna kortti F6"), {0, 0, 10, 10}, &TForm1::btnTallennaClick);
    btnTallenna->hide();
    btnPoista = Button(area, "btnPoista", QStringLiteral("Poista kortti"), {0, 0, 10, 10}, &TForm1::btnPoistaClick);
    btnPoista->hide();

    BuildMoveButtons(area,
        {.home = QStringLiteral("&Home"),
            .end = QStringLiteral("&End"),
            .previous = QStringLiteral("Pre&vious\nCard"),
            .next = QStringLiteral("&Next\nCard"),
            .tenBack = QStringLiteral("<-&10"),
            .tenForward = QStringLiteral("1&0 ->"),
            .go = QStringLiteral("&Go!")});
    btnHome->setToolTip(QStringLiteral("The First Card - Alt+H / Alt+Home"));
    btnEnd->setToolTip(QStringLiteral("The Last Card - Alt+E / Alt+End"));
    btnTaakse->setToolTip(QStringLiteral("Previous Card - Alt+V / Ctrl+PageUp"));
    btnEteen->setToolTip(QStringLiteral("Next Card - Alt+N / Ctrl+PageDown"));
    btn10taakse->setToolTip(QStringLiteral("10 Cards Backwords - Alt +1 / Alt+PgUp"));
    btn10eteen->setToolTip(QStringLiteral("10 Cards Forwards - Alt + 0 / Alt+PageDown"));

    btnLisaa = Button(area, "btnLisaa", QStringLiteral("New Ca&rd\nF5"), {516, 88, 74, 57}, &TForm1::btnLisaaClick);
    btnLisaa->setToolTip(QStringLiteral("Create new empty card to the end of the card file"));
    btnListaus = Button(area, "btnListaus", QStringLiteral("&List F8"), {429, 88, 83, 27}, &TForm1::btnListausClick);
    btnListaus->setToolTip(QStringLiteral("List the cards to the text form"));
    Button3 = Button(area, "Button3", QStringLiteral("F&7"), {429, 118, 83, 27}, &TForm1::Button3Click);
    Button3->setToolTip(QStringLiteral("List Current Card"));
    Button1 = Button(area, "Button1", QStringLiteral("Create"), {271, 128, 66, 17}, &TForm1::Button1Click);
    Button1->setToolTip(QStringLiteral("Create file link through the File Explorer"));
    Button2 = Button(area, "Button2", QStringLiteral("Open"), {343, 128, 70, 17}, &TForm1::Button2Click);
    Button2->setToolTip(QStringLiteral("Open linked file to its parent software"));
    PrintBitBtn = Button(area, "PrintBitBtn", QStringLiteral("&Print"), {596, 88, 104, 27}, &TForm1::PrintBitBtnClick);
    PreviewBitBtn =
        Button(area, "PreviewBitBtn", QStringLiteral("Previe&w"), {596, 118, 104, 27}, &TForm1::PreviewBitBtnClick);
    PreviewBitBtn->setToolTip(QStringLiteral("Preview the Current Card"));

    for (QWidget* w :
        std::initializer_list<QWidget*>{btnPoista, btnLisaa, btnTallenna, btnTaakse, btnEteen, btn10taakse, btn10eteen,
            btnHome, btnEnd, btnGo, Button1, Button2, btnListaus, Button3, PrintBitBtn, PreviewBitBtn})
        fileControls_.push_back(w);
}

// The three groups stand in the free part right of the card area, below
// the card commands.
void TForm1::BuildGroups(QWidget* area)
{
    fieldSearch = new FieldSearchGroup(GroupPlace::MainWindow, area);
    fieldSearch->setGeometry(424, 150, 278, 102);
    booleanSearch = new BooleanSearchGroup(GroupPlace::MainWindow, area);
    booleanSearch->setGeometry(424, 254, 278, 152);
    sortGroup = new SortGroup(GroupPlace::MainWindow, area);
    sortGroup->setGeometry(424, 408, 278, 158);

    Wire(fieldSearch->btnSelaataakse, platform_, this, &TForm1::btnSelaataakseClick);
    Wire(fieldSearch->btnPoimi, platform_, this, &TForm1::btnPoimiClick);
    Wire(fieldSearch->btnSelaaeteen, platform_, this, &TForm1::btnSelaaeteenClick);
    Wire(booleanSearch->btnSelaaboltaakse, platform_, this, &TForm1::btnSelaaboltaakseClick);
    Wire(booleanSearch->btnBolpoimi, platform_, this, &TForm1::btnBolpoimiClick);
    Wire(booleanSearch->btnSelaaboleteen, platform_, this, &TForm1::btnSelaaboleteenClick);
    Wire(sortGroup->btnLajittelu, platform_, this, &TForm1::btnLajitteluClick);

    // The buttons and search strings need an open card file; the choosers
    // and the direction stay enabled.
    for (const std::vector<QWidget*>& controls :
        {fieldSearch->FileControls(), booleanSearch->FileControls(), std::vector<QWidget*>{sortGroup->btnLajittelu}})
        fileControls_.insert(fileControls_.end(), controls.begin(), controls.end());
    for (const std::vector<QWidget*>& owners :
        {fieldSearch->WheelOwners(), booleanSearch->WheelOwners(), sortGroup->WheelOwners()})
        AddWheelOwners(owners);
}

void TForm1::BuildMenus()
{
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    File1 = menu("File1", QStringLiteral("&File"));
    Uusi1 = Entry(File1, "Uusi1", QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), &TForm1::Uusi1Click);
    Avaa1 = Entry(File1, "Avaa1", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), &TForm1::Avaa1Click);
    Tallenna1 =
        Entry(File1, "Tallenna1", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::Tallenna1Click);
    Tallennanimell1 = Entry(File1, "Tallennanimell1", QStringLiteral("Save &As"), {}, &TForm1::Tallennanimell1Click);
    Tallennanimell1->setToolTip(QStringLiteral("Save Cardomo card file"));
    File1->addSeparator();
    Tallennatekstiksi1 = Entry(File1, "Tallennatekstiksi1", QStringLiteral("Save As Te&xt"),
        QKeySequence(Qt::CTRL | Qt::Key_K), &TForm1::Tallennatekstiksi1Click);
    Tallennatekstiksisivunvaihtojenkanssa1 = Entry(File1, "Tallennatekstiksisivunvaihtojenkanssa1",
        QStringLiteral("Save As Text (with page &feed per card)"), QKeySequence(Qt::CTRL | Qt::Key_U),
        &TForm1::Tallennatekstiksisivunvaihtojenkanssa1Click);
    File1->addSeparator();
    Sulje1 = Entry(File1, "Sulje1", QStringLiteral("&Close"), {}, &TForm1::Sulje1Click);
    File1->addSeparator();
    Esikatselu1 = Entry(File1, "Esikatselu1", QStringLiteral("Previe&w"), QKeySequence(Qt::CTRL | Qt::Key_E),
        &TForm1::Esikatselu1Click);
    Tulosta1 =
        Entry(File1, "Tulosta1", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P), &TForm1::Tulosta1Click);
    File1->addSeparator();
    Lopeta1 = Entry(File1, "Lopeta1", QStringLiteral("&Exit"), {}, &TForm1::Lopeta1Click);

    Edit1Menu = menu("Edit1", QStringLiteral("Edit"));
    Palautapoistettukortti1 = Entry(Edit1Menu, "Palautapoistettukortti1",
        QStringLiteral("Bring back deleted card as a new card"), {}, &TForm1::Palautapoistettukortti1Click);
    Tuokortisto = Entry(Edit1Menu, "Tuokortisto",
        QStringLiteral("Input an external card file to the current card file"), {}, &TForm1::TuokortistoClick);
    Liskortti1 = Entry(Edit1Menu, "Liskortti1", QStringLiteral("Add a new empty card"), QKeySequence(Qt::Key_F5),
        &TForm1::Liskortti1Click);
    Tallennakortti1 =
        Entry(Edit1Menu, "Tallennakortti1", QStringLiteral("Tallenna kortti"), {}, &TForm1::btnTallennaClick);
    Tallennakortti1->setVisible(false);
    Kopioikortti1 = Entry(Edit1Menu, "Kopioikortti1", QStringLiteral("Copy current card  to the clip board"),
        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C), &TForm1::Kopioikortti1Click);
    KopioikorttileikepydlleVista2 = Entry(Edit1Menu, "KopioikorttileikepydlleVista2",
        QStringLiteral("Kopioi kortti leikepöydälle (Vista)"), {}, &TForm1::Kopioikortti1Click);
    KopioikorttileikepydlleVista2->setVisible(false);
    Liitkortti1 = Entry(Edit1Menu, "Liitkortti1",
        QStringLiteral("Liitä kortti leikepöydältä esillä olevaan korttipohjaan"), {}, &TForm1::Liitkortti1Click);
    Liitkortti1->setVisible(false);
    Liitkorttiuutena =
        Entry(Edit1Menu, "Liitkorttiuutena", QStringLiteral("Paste the card from the clipboard as a new card"),
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V), &TForm1::LiitkorttiuutenaClick);
    Poistakortti1 =
        Entry(Edit1Menu, "Poistakortti1", QStringLiteral("Delete current card"), {}, &TForm1::Poistakortti1Click);
    Edit1Menu->addSeparator();
    Lisaikaleima1 = Entry(Edit1Menu, "Lisaikaleima1", QStringLiteral("Add a time stamp to the Memo field"),
        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A), &TForm1::Lisaikaleima1Click);
    Lisaikaleimavvvvkkpvhhmmss1 =
        Entry(Edit1Menu, "Lisaikaleimavvvvkkpvhhmmss1", QStringLiteral("Add a time stamp (+yyyy-mm-dd hh:mm:ss)"),
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q), &TForm1::Lisaikaleimavvvvkkpvhhmmss1Click);
    Edit1Menu->addSeparator();
    EtsiMemokentst1 = Entry(Edit1Menu, "EtsiMemokentst1", QStringLiteral("Find from the Memo field"),
        QKeySequence(Qt::CTRL | Qt::Key_F), &TForm1::EtsiMemokentst1Click);
    Etsiseuraava1 = Entry(Edit1Menu, "Etsiseuraava1", QStringLiteral("Find next from the Memo field  (Ctrl+D)"),
        QKeySequence(Qt::Key_F3), &TForm1::Etsiseuraava1Click);
    Edit1Menu->addSeparator();
    InputexternalANSIcardfiletothecurrentcardfile1 = Entry(Edit1Menu, "InputexternalANSIcardfiletothecurrentcardfile1",
        QStringLiteral("Input external ANSI card file to the current card file (old format)"), {},
        &TForm1::InputexternalANSIcardfiletothecurrentcardfile1Click);

    // Keys without a menu entry of their own; each command checks FileOpen.
    WireKey(this, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K), platform_, [this] { Kopioikortti1Click(); });
    WireKey(this, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_W), platform_, [this] { Liitkortti1Click(); });
    WireKey(this, QKeySequence(Qt::CTRL | Qt::Key_D), platform_, [this] { Etsiseuraava1Click(); });

    Tools1 = menu("Tools1", QStringLiteral("Tools"));
    Tyokalut1 =
        Entry(Tools1, "Tyokalut1", QStringLiteral("Listing"), QKeySequence(Qt::Key_F8), &TForm1::Tyokalut1Click);
    Ko = Entry(Tools1, "Ko", QStringLiteral("List Current Card"), QKeySequence(Qt::Key_F7), &TForm1::KoClick);
    Poiminta2 = Entry(Tools1, "Poiminta2", QStringLiteral("Pick"), QKeySequence(Qt::Key_F9), &TForm1::Poiminta2Click);
    Booleanpoiminta2 = Entry(Tools1, "Booleanpoiminta2", QStringLiteral("Pick by Boolean Search"),
        QKeySequence(Qt::Key_F10), &TForm1::Booleanpoiminta2Click);
    Lajittelu1 =
        Entry(Tools1, "Lajittelu1", QStringLiteral("Sorting"), QKeySequence(Qt::Key_F11), &TForm1::Lajittelu1Click);
    Poimikorttialue1 = Entry(Tools1, "Poimikorttialue1", QStringLiteral("Pick Cards in Order"),
        QKeySequence(Qt::Key_F2), &TForm1::Poimikorttialue1Click);
    Tools1->addSeparator();
    EtsiKorvaavalitustakentst1 =
        Entry(Tools1, "EtsiKorvaavalitustakentst1", QStringLiteral("Find and Replace in Cards"),
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F), &TForm1::EtsiKorvaavalitustakentst1Click);

    Options1 = menu("Options1", QStringLiteral("Options"));
    Kenttavalinnat1 = Entry(Options1, "Kenttavalinnat1", QStringLiteral("Field selection for listing"),
        QKeySequence(Qt::Key_F4), &TForm1::Kenttavalinnat1Click);
    Options1->addSeparator();
    ShowHints1 = Entry(Options1, "ShowHints1", QStringLiteral("Show Hints"), {}, &TForm1::ShowHints1Click);
    ShowHints1->setCheckable(true);
    ShowHints1->setChecked(true);
    Options1->addSeparator();
    ScreenSaverOptions1 = Entry(
        Options1, "ScreenSaverOptions1", QStringLiteral("Screen Saver Options"), {}, &TForm1::ScreenSaverOptions1Click);
    ScreenSaverDemo1 = Entry(Options1, "ScreenSaverDemo1", QStringLiteral("SCREEN SAVER"),
        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_N), &TForm1::ScreenSaverDemo1Click);
    // The encoding of Open and Save: both entries stay hidden, so the card
    // files are always UTF-8.
    UTF8mode1 = Entry(Options1, "UTF8mode1", QStringLiteral("File Open/Save in UTF-8 mode"), {}, nullptr);
    ANSImode1 = Entry(Options1, "ANSImode1", QStringLiteral("File Open/Save in ANSI mode"), {}, nullptr);
    for (QAction* a : {UTF8mode1, ANSImode1}) {
        a->setCheckable(true);
        a->setVisible(false);
    }
    connect(UTF8mode1, &QAction::triggered, this, [this] {
        s_.Utf8Mode = true;
        UTF8mode1->setChecked(true);
        ANSImode1->setChecked(false);
    });
    connect(ANSImode1, &QAction::triggered, this, [this] {
        s_.Utf8Mode = false;
        ANSImode1->setChecked(true);
        UTF8mode1->setChecked(false);
    });

    Help1 = menu("Help1", QStringLiteral("&?"));
    Ohje1 = Entry(Help1, "Ohje1", QStringLiteral("&Quick Manual"), QKeySequence(Qt::Key_F1), &TForm1::Ohje1Click);
    Avaamanuali1 = Entry(Help1, "Avaamanuali1", QStringLiteral("RTF Manual"), {}, &TForm1::Avaamanuali1Click);
    License = Entry(Help1, "License", QStringLiteral("License"), {}, &TForm1::LicenseClick);
    Help1->addSeparator();
    About1 = Entry(Help1, "About1", QStringLiteral("&About"), {}, &TForm1::About1Click);

    fileEntries_ = {Tallennanimell1, Tallenna1, Tallennatekstiksi1, Tallennatekstiksisivunvaihtojenkanssa1, Sulje1,
        Esikatselu1, Tulosta1, Liskortti1, Tallennakortti1, Kopioikortti1, KopioikorttileikepydlleVista2, Liitkortti1,
        Liitkorttiuutena, Poistakortti1, Lisaikaleima1, Lisaikaleimavvvvkkpvhhmmss1, EtsiMemokentst1, Etsiseuraava1,
        EtsiKorvaavalitustakentst1, Tuokortisto, InputexternalANSIcardfiletothecurrentcardfile1, Tyokalut1, Ko,
        Poiminta2, Booleanpoiminta2, Lajittelu1, Poimikorttialue1, Kenttavalinnat1};
}

void TForm1::BuildTabOrder()
{
    std::vector<QWidget*> after = {btnListaus, Button3, btnLisaa, PrintBitBtn, PreviewBitBtn};
    for (const std::vector<QWidget*>& group :
        {fieldSearch->TabOrder(), booleanSearch->TabOrder(), sortGroup->TabOrder()})
        after.insert(after.end(), group.begin(), group.end());
    SetTabOrder({Button1, Button2}, after);
}

// ---------------------------------------------------------------------------
// Start-up, captions and switching

void TForm1::FormCreate(const QStringList& args)
{
    s_.DeletedCardHeld = false;
    Palautapoistettukortti1->setEnabled(false);
    btnDeaktivoiClick();
    setWindowTitle(StartCaption);
    s_.FileOpen = false;
    s_.PickedWindowActive = false;
    s_.DeletedCard = Card{};
    s_.MaxCardCount = 32000;
    s_.RenewTables();
    s_.CardFileChanged = false;
    s_.Utf8Mode = true;
    UTF8mode1->setChecked(true);
    if (!args.isEmpty())
        RunCommand(platform_, [&] { CommandLineOpen(args.first()); });
    else
        Uusi1->trigger();
}

void TForm1::btnAktivoiClick()
{
    for (QWidget* w : fileControls_)
        w->setEnabled(true);
    for (QAction* a : fileEntries_)
        a->setEnabled(true);
}

void TForm1::btnDeaktivoiClick()
{
    for (QWidget* w : fileControls_)
        w->setEnabled(false);
    for (QAction* a : fileEntries_)
        a->setEnabled(false);
    Palautapoistettukortti1->setEnabled(false);
}

// ---------------------------------------------------------------------------
// Store and show

void TForm1::btnTallennaClick()
{
    if (deferredView_ && deferredView_->Store())
        return;
    if (s_.CurrentCard < 0 || static_cast<size_t>(s_.CurrentCard) >= s_.CardTable.size())
        return;  // no card table: nothing to store into
    Card& row = s_.CardTable[static_cast<size_t>(s_.CurrentCard)];
    for (int cell = 0; cell <= MemoCell; ++cell) {
        const QString text = EditorText(cell);
        if (row[cell] != text)
            row[cell] = text;
    }
}

void TForm1::btnPaivitaClick()
{
    if (deferredView_ && deferredView_->Show())
        return;
    const Card& row = s_.CardTable[static_cast<size_t>(s_.CurrentCard)];
    ShowFields(row);
    lblKorttitunnistenro->setText(QStringLiteral("19. Card ID: ") + row[CardIdCell]);
    editKORTTINRO->setText(QString::number(s_.CurrentCard + 1));
    Label23->setText(QStringLiteral(" / ") + QString::number(s_.CardCount));
}

// ---------------------------------------------------------------------------
// New and Open

void TForm1::Uusi1Click()
{
    if (ShowFileSteps(platform_, session_.New(), {}).result != SessionStep::Result::Started)
        return;
    btnAktivoiClick();
    Uusi1->setEnabled(false);
    Avaa1->setEnabled(false);
    setWindowTitle(QStringLiteral("New.kqk") + ProgramCaption);
    btnPaivitaClick();
    recovery_->OfferKeptCopy();
}

// The card of a card file just read: caption, controls and the card shown.
void TForm1::OpenSucceeded(const QString& path)
{
    session_.Opened(path);
    setWindowTitle(FileNamePart(path) + ProgramCaption);
    btnAktivoiClick();
    Uusi1->setEnabled(false);
    Avaa1->setEnabled(false);
    btnPaivitaClick();
    session_.OpenShown();
    recovery_->OfferKeptCopy();
}

void TForm1::CommandLineOpen(const QString& path)
{
    const CardFileSession::ReadOutcome r = session_.Read(path);
    if (!r.ok) {
        platform_.Message(r.message);
        session_.OpenFailed();
        return;
    }
    OpenSucceeded(path);
    if (!r.message.isEmpty())
        platform_.Message(r.message);
}

void TForm1::Avaa1Click()
{
    if (!session_.MayOpen())
        return;
    TForm12* wait = context_.windows.form12;
    const FileDialogRequest request{QStringLiteral("Open Cardomo card file (.kqk) UTF-8"), CardFileFilter, QString()};
    wait->setWindowTitle(QStringLiteral("Opening - Please wait..."));
    wait->ShowOver(this);
    const std::optional<QString> chosen = platform_.OpenFileDialog(request);
    if (!chosen) {
        wait->close();
        return;
    }
    const QString path = *chosen;
    if (const std::optional<QString> missing = session_.MissingFileMessage(path)) {
        platform_.Message(*missing);
        wait->close();
        return;
    }
    QString notice;  // shown once the opened file's card is shown
    try {
        // The caption follows the cards read at a rate a person can read.
        LongWork reading(platform_, wait);
        const CardFileSession::ReadOutcome r = session_.Read(path, [&reading](int i) {
            reading.Caption([i]() -> QString { return QStringLiteral("Reading cards: ") + QString::number(i); });
        });
        if (!r.ok) {
            platform_.Message(r.message);
            wait->setWindowTitle(QString());
            wait->close();
            session_.OpenFailed();
            return;
        }
        notice = r.message;
    } catch (...) {
        wait->close();
        throw;
    }
    OpenSucceeded(path);
    memoMUISTIINPANO->setFocus();
    wait->close();
    if (!notice.isEmpty())
        platform_.Message(notice);
}

// ---------------------------------------------------------------------------
// Save, Save As, Close, Exit

// The dialogs of a step of the card file session, until the command ends.
SessionStep TForm1::ShowSessionSteps(const SessionStep& step)
{
    return ShowFileSteps(platform_, step,
        [this](const SessionStep& asked, SessionAnswer answer) { return session_.Answer(asked, answer); });
}

void TForm1::Tallenna1Click()
{
    btnTallennaClick();
    if (ShowSessionSteps(session_.Save()).result == SessionStep::Result::Saved)
        recovery_->Discard();
}

void TForm1::Tallennanimell1Click()
{
    btnTallennaClick();
    const std::optional<QString> chosen = platform_.SaveFileDialog(
        {QStringLiteral("Save Cardomo card file as (.kqk) UTF-8"), CardFileFilter, session_.SaveAsDialogName()});
    const SessionStep done = ShowSessionSteps(session_.SaveAs(chosen));
    if (done.result != SessionStep::Result::Saved && done.result != SessionStep::Result::SavedLowSpace)
        return;
    setWindowTitle(FileNamePart(s_.CardFileName) + ProgramCaption);
    recovery_->Discard();
}

void TForm1::Sulje1Click()
{
    btnTallennaClick();
    SessionStep step = ShowSessionSteps(session_.Close());
    if (step.kind == SessionStep::Kind::RunSave) {
        // Save through its menu entry; a general error ends Close too.
        if (Tallenna1->isEnabled())
            Tallenna1Click();
        step = ShowSessionSteps(session_.CloseAfterSave());
    }
    if (step.result != SessionStep::Result::Closed)
        return;
    btnDeaktivoiClick();
    Uusi1->setEnabled(true);
    Avaa1->setEnabled(true);
    for (int cell = 0; cell <= MemoCell; ++cell)
        SetEditorText(cell, QString());
    lblKorttitunnistenro->clear();
    editKORTTINRO->clear();
    Label23->clear();
    Label22->clear();
    setWindowTitle(ClosedCaption);
    session_.CloseShown();
    recovery_->Discard();
}

void TForm1::Lopeta1Click()
{
    if (s_.FileOpen) {
        platform_.Message(
            QStringLiteral("You can not exit while the card file is still open. Please close the card file first"));
        return;
    }
    close();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (s_.FileOpen) {
        event->ignore();
        platform_.Message(QStringLiteral(
            "You can not terminate the program because the card file is still open. Please close card file first!"));
        return;
    }
    event->accept();
    emit programEnded();
}

// ---------------------------------------------------------------------------
// Navigation

void TForm1::MoveTo(int card)
{
    if (!s_.FileOpen)
        return;
    btnTallennaClick();
    s_.CurrentCard = std::clamp(card, 0, s_.CardCount - 1);
    btnPaivitaClick();
}

void TForm1::btnHomeClick()
{
    MoveTo(0);
}
void TForm1::btnEndClick()
{
    MoveTo(s_.CardCount - 1);
}
void TForm1::btnTaakseClick()
{
    MoveTo(s_.CurrentCard - 1);
}
void TForm1::btnEteenClick()
{
    MoveTo(s_.CurrentCard + 1);
}
void TForm1::btn10taakseClick()
{
    MoveTo(s_.CurrentCard - 10);
}
void TForm1::btn10eteenClick()
{
    MoveTo(s_.CurrentCard + 10);
}

void TForm1::btnGoClick()
{
    if (!s_.FileOpen)
        return;
    btnTallennaClick();
    const int old = s_.CurrentCard;
    const QString text = editKORTTINRO->text();
    if (text.isEmpty())
        return;
    const int n = StrToInt(text);
    if (n >= 1 && n <= s_.CardCount) {
        s_.CurrentCard = n - 1;
        btnPaivitaClick();
    } else {
        editKORTTINRO->setText(QString::number(old + 1));
    }
}

// ---------------------------------------------------------------------------
// Card commands

void TForm1::btnLisaaClick()
{
    btnTallennaClick();
    if (!AppendEmptyCard(s_, MakeCardId(platform_.Now()))) {
        platform_.Message(QStringLiteral("The maximun count of the cards is ") + QString::number(s_.MaxCardCount));
        return;
    }
    btnPaivitaClick();
    memoTUNNISTE->setFocus(Qt::OtherFocusReason);  // where a user starts typing a new card
}

void TForm1::Liskortti1Click()
{
    btnTallennaClick();
    if (s_.FileOpen)
        btnLisaaClick();
}

void TForm1::btnPoistaClick()
{
    if (platform_.Message(QStringLiteral("Do you want to delete the card?"), MsgIcon::None, MsgButtons::YesNo)
        != MsgAnswer::Yes)
        return;
    DeleteCurrentCard(s_);
    btnPaivitaClick();
    Palautapoistettukortti1->setEnabled(true);
}

void TForm1::Poistakortti1Click()
{
    btnTallennaClick();
    if (s_.FileOpen)
        btnPoistaClick();
}

void TForm1::Palautapoistettukortti1Click()
{
    btnTallennaClick();
    switch (RestoreDeletedCard(s_)) {
    case RestoreOutcome::NothingHeld:
        return;
    case RestoreOutcome::CardFileFull:
        platform_.Message(QStringLiteral("The maximum number of cards is ") + QString::number(s_.MaxCardCount));
        return;
    case RestoreOutcome::Restored:
        Palautapoistettukortti1->setEnabled(false);
        btnPaivitaClick();
        return;
    }
}

void TForm1::Kopioikortti1Click()
{
    btnTallennaClick();
    if (s_.FileOpen)
        CopyCurrentCard(s_);
}

void TForm1::LiitkorttiuutenaClick()
{
    btnTallennaClick();
    if (!s_.FileOpen)
        return;
    if (s_.CardCount == s_.MaxCardCount) {
        platform_.Message(QStringLiteral("The maximum number of the cards is reached, no more cards can be added"));
        return;
    }
    btnLisaaClick();
    Liitkortti1Click();
    platform_.Message(QStringLiteral("The card from the clipboard is added to the end of the card file as a new card"));
}

void TForm1::Liitkortti1Click()
{
    if (!s_.FileOpen)
        return;
    btnTallennaClick();
    if (!CardFieldsEmpty(s_.CardTable[static_cast<size_t>(s_.CurrentCard)])) {
        const MsgAnswer a = platform_.Message(
            QStringLiteral("Päällekirjoitettava kortti ei ole tyhjä. Kirjoitetaanko silti? Päällekirjoitusta ei voi "
                           "peruuttaa"),
            MsgIcon::Question, MsgButtons::YesNoCancel);
        if (a != MsgAnswer::Yes)
            return;
    }
    PasteOverCurrentCard(s_);
    btnPaivitaClick();
}

bool TForm1::MemoHasFocus() const
{
    return focusWidget() == memoMUISTIINPANO;
}

void TForm1::InsertTimeStamp(const QString& stamp)
{
    if (!MemoHasFocus()) {
        platform_.Message(QStringLiteral("You can add the time stamp only to the Memo field"));
        return;
    }
    memoMUISTIINPANO->textCursor().insertText(stamp);
}

void TForm1::Lisaikaleima1Click()
{
    const QDateTime now = platform_.Now();
    InsertTimeStamp(QStringLiteral("(+") + now.date().toString(platform_.ShortDateFormat()) + u' '
        + now.time().toString(platform_.LongTimeFormat()) + u')');
}

void TForm1::Lisaikaleimavvvvkkpvhhmmss1Click()
{
    InsertTimeStamp(platform_.Now().toString(QStringLiteral("'(+'yyyy-MM-dd HH:mm:ss')'")));
}

void TForm1::Button1Click()
{
    const std::optional<QString> chosen =
        platform_.OpenFileDialog({QStringLiteral("Open"), QStringLiteral("Kaikki tiedostot (*.*)|*.*"), QString()});
    if (!chosen)
        return;
    const QFileInfo file(*chosen);
    if (!file.exists()) {
        platform_.Message(NoSuchFile);
        return;
    }
    Memo1->SetText(file.absoluteFilePath());
    s_.CardFileChanged = true;
}

void TForm1::Button2Click()
{
    platform_.ShellOpen(FileLinkTarget(Memo1->Text(), QDir::currentPath()));
}

// ---------------------------------------------------------------------------
// Find in the Memo

void TForm1::EtsiMemokentst1Click()
{
    QTextCursor c = memoMUISTIINPANO->textCursor();
    c.setPosition(0);
    memoMUISTIINPANO->setTextCursor(c);
    context_.windows.form15->ShowFind();
}

void TForm1::Etsiseuraava1Click()
{
    if (s_.FileOpen)
        context_.windows.form15->Button1Click();
}

// ---------------------------------------------------------------------------
// Find and replace in cards

void TForm1::EtsiKorvaavalitustakentst1Click()
{
    btnTallennaClick();
    context_.windows.form16->ShowReplace();
}

// ---------------------------------------------------------------------------
// Listing

void TForm1::btnListausClick()
{
    ListCards(context_, ListingKind::AllCards);
}

void TForm1::Button3Click()
{
    ListCards(context_, ListingKind::CurrentCard);
}

void TForm1::Tyokalut1Click()
{
    if (s_.FileOpen)
        btnListausClick();
}

void TForm1::KoClick()
{
    Button3Click();
}

void TForm1::Kenttavalinnat1Click()
{
    context_.windows.form10->ShowSelection();
}

// ---------------------------------------------------------------------------
// Saving as text

void TForm1::Tallennatekstiksi1Click()
{
    btnTallennaClick();
    textSaver_.Save();
}

void TForm1::Tallennatekstiksisivunvaihtojenkanssa1Click()
{
    btnTallennaClick();
    s_.PageFeedPerCard = true;
    Tallennatekstiksi1Click();
}

// ---------------------------------------------------------------------------
// Preview and printing of the cards

void TForm1::PreviewBitBtnClick()
{
    if (!s_.FileOpen)
        return;
    if (context_.windows.form15 && context_.windows.form15->isVisible())
        context_.windows.form15->close();
    btnTallennaClick();
    PrintState& print = context_.print;
    print.PrintMode = PrintMode::CardPrint;
    // The line breaker is emptied afterwards whatever the preview and the
    // printing came to.
    const auto emptyBreaker = qScopeGuard([&print] { print.piilomemo.Clear(); });
    if (context_.windows.preview->ShowPreview() == TPreviewForm::Print)
        PrintBitBtnClick();
}

void TForm1::PrintBitBtnClick()
{
    if (!s_.FileOpen)
        return;
    PrintPages(context_, printDialog_, PrintMode::CardPrint, [this] { btnTallennaClick(); });
}

void TForm1::Esikatselu1Click()
{
    PreviewBitBtnClick();
}

void TForm1::Tulosta1Click()
{
    PrintBitBtnClick();
}

// ---------------------------------------------------------------------------
// Importing card files

void TForm1::ImportCardFile(CardEncoding encoding)
{
    btnTallennaClick();
    if (!s_.FileOpen)
        return;
    const std::optional<QString> chosen = platform_.OpenFileDialog({QStringLiteral("Input Cardomo card file (*.kqk)"),
        QStringLiteral("Cardomo tiedosto (*.KQK)|*.kqk;*.kqd"), QString()});
    if (!chosen)
        return;
    const ImportOutcome outcome = AppendCardFile(s_, *chosen, encoding);
    if (!outcome.message.isEmpty())
        platform_.Message(outcome.message);
    if (outcome.imported()) {
        btnPaivitaClick();
        if (!outcome.notice.isEmpty())
            platform_.Message(outcome.notice);
    }
}

void TForm1::TuokortistoClick()
{
    ImportCardFile(CardEncoding::Utf8);
}

void TForm1::InputexternalANSIcardfiletothecurrentcardfile1Click()
{
    ImportCardFile(CardEncoding::Ansi);
}

// ---------------------------------------------------------------------------
// Search, pick and sort

// The finds store the card on screen first, so that they test what it
// shows; the keys reach them even while no card file is open.
void TForm1::btnSelaaeteenClick()
{
    if (!s_.FileOpen)
        return;
    btnTallennaClick();
    const FindOutcome found = FindCard(s_, SearchDirection::Forward, fieldSearch->Test());
    ShowFindOutcome(platform_, found, [this] { btnPaivitaClick(); });
}

void TForm1::btnSelaataakseClick()
{
    if (!s_.FileOpen)
        return;
    btnTallennaClick();
    const FindOutcome found = FindCard(s_, SearchDirection::Backward, fieldSearch->Test());
    ShowFindOutcome(platform_, found, [this] { btnPaivitaClick(); });
}

void TForm1::btnSelaaboleteenClick()
{
    if (!s_.FileOpen)
        return;
    btnTallennaClick();
    const FindOutcome found = FindCard(s_, SearchDirection::Forward, booleanSearch->Test());
    ShowFindOutcome(platform_, found, [this] { btnPaivitaClick(); });
}

void TForm1::btnSelaaboltaakseClick()
{
    if (!s_.FileOpen)
        return;
    btnTallennaClick();
    const FindOutcome found = FindCard(s_, SearchDirection::Backward, booleanSearch->Test());
    ShowFindOutcome(platform_, found, [this] { btnPaivitaClick(); });
}

namespace {
// Opens the picked cards window on a pick, or says that nothing was found.
void OpenPickedSet(Platform& platform, const PickOutcome& picked, PickedWindowLink* pickedWindow)
{
    if (picked.status == PickStatus::NotFound)
        platform.Message(NotFoundText());
    else if (picked.status == PickStatus::Picked)
        pickedWindow->showPicked();
}
}  // namespace

void TForm1::btnPoimiClick()
{
    btnTallennaClick();
    OpenPickedSet(platform_, PickCards(s_, fieldSearch->Test()), context_.windows.picked);
}

void TForm1::btnBolpoimiClick()
{
    btnTallennaClick();
    OpenPickedSet(platform_, PickCards(s_, booleanSearch->Test()), context_.windows.picked);
}

void TForm1::btnLajitteluClick()
{
    btnTallennaClick();
    if (!s_.FileOpen || s_.CardCount == 0)
        return;
    SortCardTable(s_, sortGroup->Keys(), sortGroup->Direction());
    btnPaivitaClick();  // the last card of the new order
}

void TForm1::Poiminta2Click()
{
    if (s_.FileOpen)
        btnPoimiClick();
}

void TForm1::Booleanpoiminta2Click()
{
    if (s_.FileOpen)
        btnBolpoimiClick();
}

void TForm1::Lajittelu1Click()
{
    if (s_.FileOpen)
        btnLajitteluClick();
}

void TForm1::Poimikorttialue1Click()
{
    if (s_.FileOpen)
        context_.windows.form11->ShowPicking();
}

// ---------------------------------------------------------------------------
// Change tracking and keys

void TForm1::MemoChanged()
{
    const int lines = memoMUISTIINPANO->LineCount();
    const QString label = QStringLiteral("18. Memo (Lines ") + QString::number(lines) + u')';
    if (Label22->text() != label) {  // measuring the label costs more than the rest of a change
        Label22->setText(label);
        Label22->adjustSize();
    }
    if (lines >= MemoTypingLimit)
        platform_.Message(
            QStringLiteral("Only ") + QString::number(MemoTypingLimit - 1) + QStringLiteral(" lines allowed!"));
    if (lines >= MemoAbsoluteLimit)
        platform_.Message(QStringLiteral("Absolute line count maximum in Memo field is 6000. When opening the card "
                                         "file, Cardomo does not read lines over 6000 to the Memo field!"));
    s_.CardFileChanged = true;
}

bool TForm1::FieldKeyPress(QKeyEvent* key)
{
    if (IsEnter(key) && !(key->modifiers() & Qt::ControlModifier)) {
        focusNextPrevChild(true);
        return true;
    }
    if (MarksFieldChanged(key))
        s_.CardFileChanged = true;
    return false;
}

bool TForm1::MemoKeyPress(QKeyEvent* key)
{
    // Enter is a line break in the Memo, and counts as a typed character.
    if (key->key() == Qt::Key_Backspace || !(TypesCharacter(key) || IsEnter(key)))
        return false;
    s_.CardFileChanged = true;
    if (memoMUISTIINPANO->LineCount() >= MemoTypingLimit) {
        platform_.Message(QStringLiteral("Only ") + QString::number(MemoTypingLimit - 1)
            + QStringLiteral(" lines allowed. Please decrease the line count."));
        return true;
    }
    return false;
}

bool TForm1::WindowKeyPress(QKeyEvent* key, QWidget* control)
{
    // The searches' keys; the card area has the keys that move.
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    void (TForm1::*command)() = nullptr;
    if (mods == Qt::ControlModifier) {
        switch (key->key()) {
        case Qt::Key_Left:
            command = &TForm1::btnSelaataakseClick;
            break;
        case Qt::Key_Right:
            command = &TForm1::btnSelaaeteenClick;
            break;
        default:
            break;
        }
    } else if (mods == Qt::AltModifier) {
        switch (key->key()) {
        case Qt::Key_Left:
            command = &TForm1::btnSelaaboltaakseClick;
            break;
        case Qt::Key_Right:
            command = &TForm1::btnSelaaboleteenClick;
            break;
        default:
            break;
        }
    }
    if (command && s_.FileOpen)
        RunCommand(platform_, [this, command] { (this->*command)(); });
    // A text editor with the focus gets the key too, with its usual effect;
    // no other control does (a drop-down list would change its choice).
    return command && !TakesCommandKeysToo(control);
}

bool TForm1::EditorKeyPress(QKeyEvent* key, int cell)
{
    return cell == MemoCell ? MemoKeyPress(key) : FieldKeyPress(key);
}

bool TForm1::CardsMove() const
{
    return s_.FileOpen;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // The card area sees the window's keys and wheel before its controls.
    if (const std::optional<bool> taken = PreviewEvent(this, watched, event))
        return *taken;
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// The hint switch

void TForm1::AddSwitchedHint(QWidget* control, const QString& hint)
{
    if (!control)
        return;
    switchedHints_.push_back({control, hint});
    control->setToolTip(hintsShown_ ? hint : QString());
}

void TForm1::ShowHints1Click()
{
    // The entry's check mark tells the state: it goes with the hints.
    hintsShown_ = !hintsShown_;
    ShowHints1->setChecked(hintsShown_);
    for (const SwitchedHint& h : switchedHints_)
        if (h.control)
            h.control->setToolTip(hintsShown_ ? h.hint : QString());
}

// ---------------------------------------------------------------------------
// Screen saver

void TForm1::ScreenSaverOptions1Click()
{
    platform_.RunModal(*context_.windows.form20);
}

void TForm1::ScreenSaverDemo1Click()
{
    context_.windows.screenSaver->Run();
}

// ---------------------------------------------------------------------------
// Manuals, licence and About

namespace {

const QString QuickManualName = QStringLiteral("Cardomo_v05102_beta Quick Manual.rtf");
const QString ManualName = QStringLiteral("Cardomo_v05102_beta Manual.rtf");

QString MissingManual(const QString& name)
{
    return name
        + QStringLiteral(" does not exist. It must be located in the same directory as the exe file of Cardomo");
}

}  // namespace

void TForm1::Ohje1Click()
{
    const std::optional<QString> path =
        FindManualFile(platform_.ProgramFolder(), platform_.DataFolder(), QuickManualName);
    if (!path) {
        platform_.Message(MissingManual(QuickManualName));
        return;
    }
    context_.windows.form8->ShowManual(*path);
}

void TForm1::Avaamanuali1Click()
{
    const std::optional<QString> path = FindManualFile(platform_.ProgramFolder(), platform_.DataFolder(), ManualName);
    if (!path) {
        platform_.Message(MissingManual(ManualName));
        return;
    }
    context_.windows.form9->ShowManual(*path);
}

void TForm1::LicenseClick()
{
    context_.windows.form19->ShowLicence();
}

void TForm1::About1Click()
{
    platform_.RunModal(*context_.windows.form6);
}
