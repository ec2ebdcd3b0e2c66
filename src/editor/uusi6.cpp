#include "uusi6.h"

#include "Unit12.h"
#include "Unit15.h"
#include "cardfile.h"
#include "convert.h"
#include "diskspacecheck.h"
#include "textfind.h"
#include "commandguard.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QTextBlock>
#include <QWheelEvent>
#include <algorithm>

namespace {

const QString ProgramCaption = QStringLiteral(" - CARDOMO 0.5 beta");
const QString StartCaption = QStringLiteral("CARDOMO 0.5  beta - Note Card Software");
const QString ClosedCaption = QStringLiteral("CARDOMO 0.5. beta");
const QString CardFileFilter = QStringLiteral("CARDOMO data file (*.KQK)|*.KQK;*.KQD");
const QString NoSuchFile = QStringLiteral("The file with this name does not exist in this directory");
const QString AnsiFileMessage = QStringLiteral(
    "You are trying to open ANSI file in UTF-8 mode. Please select instead: File --> New and then "
    "Edit --> Input external ANSI card file to the current card file (old format)");

constexpr int MemoTypingLimit = 600;
constexpr int MemoAbsoluteLimit = 6000;

QFont ArialPx(int pixels)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    return f;
}

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

bool HasLineBreak(const QString& text)
{
    return std::any_of(text.begin(), text.end(), IsLineBreak);
}

// What a change did to a text: the characters of previous kept before and
// after it, and what came in between.
struct Change {
    qsizetype prefix;
    qsizetype suffix;
    qsizetype added;
};

Change Diff(const QString& previous, const QString& now)
{
    const qsizetype shorter = std::min(previous.size(), now.size());
    qsizetype p = 0;
    while (p < shorter && previous[p] == now[p])
        ++p;
    qsizetype s = 0;
    while (s < shorter - p && previous[previous.size() - 1 - s] == now[now.size() - 1 - s])
        ++s;
    return {p, s, now.size() - p - s};
}

// Cuts what a change brought in so that the text keeps within maxTyped; a
// text that was already longer takes nothing more. Returns the number of
// characters to take out at the end of the insertion (0: keep as it is).
qsizetype Excess(const QString& previous, const QString& now, int maxTyped, Change& change)
{
    change = Diff(previous, now);
    if (maxTyped <= 0 || now.size() <= maxTyped || change.added == 0)
        return 0;
    const qsizetype kept = change.prefix + change.suffix;
    const qsizetype room = std::max<qsizetype>(0, maxTyped - kept);
    return std::max<qsizetype>(0, change.added - room);
}

// A key press that types a character: Backspace and printable or control
// characters, but not Enter, Tab, Esc or Delete.
bool TypesCharacter(const QKeyEvent* key)
{
    if (key->key() == Qt::Key_Backspace)
        return true;
    if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab
        || key->key() == Qt::Key_Backtab)
        return false;
    const QString t = key->text();
    return !t.isEmpty() && t != QStringLiteral("\r") && t != QStringLiteral("\n")
        && t != QStringLiteral("\t") && t != QStringLiteral("\x1b") && t != QStringLiteral("\x7f");
}

bool IsEnter(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

// ---------------------------------------------------------------------------
// Field editors

FieldLine::FieldLine(int maxTyped, QWidget* parent) : QLineEdit(parent), maxTyped_(maxTyped)
{
    setMaxLength(std::numeric_limits<int>::max());
    connect(this, &QLineEdit::textEdited, this, &FieldLine::Edited);
}

void FieldLine::SetText(const QString& text)
{
    previous_ = text;
    if (this->text() != text)
        setText(text);
}

void FieldLine::Edited(const QString& text)
{
    Change change{};
    const qsizetype cut = Excess(previous_, text, maxTyped_, change);
    if (cut > 0) {
        const qsizetype take = change.added - cut;
        const QString fixed = text.left(change.prefix + take) + text.right(change.suffix);
        setText(fixed);
        setCursorPosition(static_cast<int>(change.prefix + take));
    }
    previous_ = this->text();
}

OneLineBox::OneLineBox(int maxTyped, QWidget* parent) : QPlainTextEdit(parent), maxTyped_(maxTyped)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    document()->setDocumentMargin(2);
    connect(document(), &QTextDocument::contentsChange, this, &OneLineBox::ContentsChange);
}

QString OneLineBox::Text() const
{
    return document()->toRawText();
}

void OneLineBox::SetText(const QString& text)
{
    previous_ = text;
    if (Text() == text)
        return;
    fixing_ = true;
    setPlainText(text);
    fixing_ = false;
}

void OneLineBox::ContentsChange(int, int, int)
{
    if (fixing_)
        return;
    const QString now = Text();
    if (now == previous_)
        return;
    fixing_ = true;
    if (HasLineBreak(now)) {
        // A line break never stays: the field gets back its text from before.
        const int caret = std::min<int>(textCursor().position(), static_cast<int>(previous_.size()));
        setPlainText(previous_);
        QTextCursor c = textCursor();
        c.setPosition(std::max(0, std::min(caret, static_cast<int>(previous_.size()))));
        setTextCursor(c);
    } else {
        Change change{};
        const qsizetype cut = Excess(previous_, now, maxTyped_, change);
        if (cut > 0) {
            QTextCursor c(document());
            const qsizetype end = change.prefix + change.added;
            c.setPosition(static_cast<int>(end - cut));
            c.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
            c.removeSelectedText();
            QTextCursor caret = textCursor();
            caret.setPosition(static_cast<int>(end - cut));
            setTextCursor(caret);
        }
        previous_ = Text();
    }
    fixing_ = false;
}

MemoEditor::MemoEditor(QWidget* parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

QString MemoEditor::Text() const
{
    return RawToCrLf(document()->toRawText());
}

void MemoEditor::SetText(const QString& crlfText)
{
    if (Text() == crlfText)
        return;
    QString plain = crlfText;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    setPlainText(plain);
}

int MemoEditor::LineCount() const
{
    int lines = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (!b.next().isValid() && b.length() <= 1)
            break;  // an empty last line is not counted (an empty Memo has no lines)
        document()->documentLayout()->blockBoundingRect(b);  // lays the block out
        lines += std::max(1, b.layout()->lineCount());
    }
    return lines;
}

// ---------------------------------------------------------------------------
// The window

TForm1::TForm1(CardStore& store, Platform& platform, QWidget* parent)
    : QMainWindow(parent), s_(store), platform_(platform)
{
    auto* area = new QWidget(this);
    area->setFixedSize(706, 569);
    setCentralWidget(area);
    BuildCardArea(area);
    BuildButtons(area);
    BuildMenus();
    BuildTabOrder();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    memoMUISTIINPANO->setPlainText(QStringLiteral(
        "CARDOMO 0.5  beta   (v.0.5.1.0.2)\n"
        "Note Card Software\n"
        "Made by the Note Card Software team\n"
        "for people who keep their notes on cards.\n"
        "The product web site: see Help - About\n"
        "Please open existing card file:\n"
        "File - Open -->\n"
        "or\n"
        "Create new one:\n"
        "File - New -->"));
    connect(memoMUISTIINPANO, &QPlainTextEdit::textChanged, this, [this] { Guard([this] { MemoChanged(); }); });
    qApp->installEventFilter(this);
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
}

void TForm1::Guard(const std::function<void()>& command)
{
    RunCommand(platform_, command);
}

QPushButton* TForm1::Button(QWidget* area, const QString& caption, QRect geometry,
                            void (TForm1::*handler)())
{
    auto* b = new QPushButton(caption, area);
    b->setGeometry(geometry);
    b->setFont(ArialPx(11));
    b->setAutoDefault(false);
    if (handler)
        connect(b, &QPushButton::clicked, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    return b;
}

QAction* TForm1::Entry(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                       void (TForm1::*handler)())
{
    QAction* a = menu->addAction(caption);
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
    if (handler)
        connect(a, &QAction::triggered, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
    return a;
}

void TForm1::BuildCardArea(QWidget* area)
{
    struct Place {
        QRect editor;
        QPoint label;
    };
    // Positions in the client area; labels stand above their editors but for
    // "5.Mo" and "7. Page", which stand below theirs.
    const std::array<Place, 17> places = {{
        {{25, 17, 145, 41}, {25, 3}},
        {{178, 17, 89, 41}, {178, 3}},
        {{273, 17, 65, 41}, {273, 3}},
        {{344, 16, 25, 22}, {344, 3}},
        {{344, 37, 25, 22}, {344, 64}},
        {{376, 16, 37, 22}, {376, 3}},
        {{376, 37, 37, 22}, {376, 64}},
        {{24, 88, 145, 41}, {24, 74}},
        {{175, 88, 89, 41}, {175, 74}},
        {{271, 88, 141, 41}, {271, 74}},
        {{429, 16, 81, 22}, {429, 3}},
        {{516, 16, 73, 22}, {516, 3}},
        {{592, 16, 89, 22}, {592, 3}},
        {{516, 56, 41, 22}, {516, 40}},
        {{561, 56, 29, 22}, {561, 40}},
        {{592, 56, 29, 22}, {592, 40}},
        {{625, 56, 56, 22}, {625, 40}},
    }};
    const bool oneLine[17] = {true, true, true, false, false, false, false, true, true, true,
                              false, false, false, false, false, false, false};
    for (int cell = 0; cell < 17; ++cell) {
        QWidget* editor;
        if (oneLine[cell])
            editor = new OneLineBox(Fields[cell].maxTyped, area);
        else
            editor = new FieldLine(Fields[cell].maxTyped, area);
        editor->setGeometry(places[cell].editor);
        editor->setFont(ArialPx(11));
        editors[cell] = editor;
        auto* label = new QLabel(QString::fromUtf8(Fields[cell].label), area);
        label->setFont(ArialPx(11));
        label->move(places[cell].label);
        label->adjustSize();
        fieldLabels[cell] = label;
    }
    memoTUNNISTE = static_cast<OneLineBox*>(editors[0]);
    Memo2 = static_cast<OneLineBox*>(editors[1]);
    Memo3 = static_cast<OneLineBox*>(editors[2]);
    Edit5 = static_cast<FieldLine*>(editors[3]);
    Edit6 = static_cast<FieldLine*>(editors[4]);
    editVUOSI = static_cast<FieldLine*>(editors[5]);
    editSIVU = static_cast<FieldLine*>(editors[6]);
    memoASIASANAT1 = static_cast<OneLineBox*>(editors[7]);
    memoASIASANAT2 = static_cast<OneLineBox*>(editors[8]);
    Memo1 = static_cast<OneLineBox*>(editors[9]);
    editKOODI1 = static_cast<FieldLine*>(editors[10]);
    editKOODI2 = static_cast<FieldLine*>(editors[11]);
    Edit7 = static_cast<FieldLine*>(editors[12]);
    Edit8 = static_cast<FieldLine*>(editors[13]);
    Edit9 = static_cast<FieldLine*>(editors[14]);
    Edit10 = static_cast<FieldLine*>(editors[15]);
    Edit11 = static_cast<FieldLine*>(editors[16]);

    memoMUISTIINPANO = new MemoEditor(area);
    memoMUISTIINPANO->setGeometry(24, 151, 389, 293);
    memoMUISTIINPANO->setFont(ArialPx(13));
    editors[MemoCell] = memoMUISTIINPANO;

    lblDateOfAction = new QLabel(QStringLiteral("Date of action:"), area);
    lblDateOfAction->setFont(ArialPx(11));
    lblDateOfAction->move(434, 58);
    lblDateOfAction->adjustSize();

    memoTUNNISTE->setToolTip(QStringLiteral("Move to the next field with TAB or by pressing Enter"));
    Memo2->setToolTip(QStringLiteral("Move to the previous field by pressing Sift + TAB"));
    Edit5->setToolTip(QStringLiteral("Date of source: Day (A number with two digits like '06')"));
    Edit6->setToolTip(QStringLiteral("Date of source: Month (A number with two digits like '12')"));
    editVUOSI->setToolTip(QStringLiteral(
        "Date of source: Year (A number with four digits plus maybe a character like 2018b)"));
    Memo1->setToolTip(QStringLiteral(
        "Create data link: Write an URL or choose the file with the 'Create' button below."));

    auto label = [area](QPoint at) {
        auto* l = new QLabel(area);
        l->setFont(ArialPx(11));
        l->move(at);
        l->setMinimumWidth(130);
        return l;
    };
    lblKorttitunnistenro = label({25, 527});
    lblKorttitunnistenro->setMinimumWidth(380);
    Label22 = label({25, 455});
    Label10 = label({71, 479});
    Label10->setText(QStringLiteral("Card order number"));
    Label10->adjustSize();
    Label23 = label({216, 480});
    Label23->setMinimumWidth(45);
    editKORTTINRO = new QLineEdit(area);
    editKORTTINRO->setGeometry(167, 477, 42, 21);
    editKORTTINRO->setFont(ArialPx(11));

    for (int cell = 0; cell <= MemoCell; ++cell) {
        fileControls_.push_back(editors[cell]);
        wheelOwners_.push_back(editors[cell]);
    }
    fileControls_.push_back(editKORTTINRO);
    fileControls_.push_back(Label10);
}

void TForm1::BuildButtons(QWidget* area)
{
    btnTallenna = Button(area, QStringLiteral("Tallenna kortti F6"), {0, 0, 10, 10}, &TForm1::btnTallennaClick);
    btnTallenna->hide();
    btnPoista = Button(area, QStringLiteral("Poista kortti"), {0, 0, 10, 10}, &TForm1::btnPoistaClick);
    btnPoista->hide();

    btnHome = Button(area, QStringLiteral("&Home"), {300, 468, 47, 36}, &TForm1::btnHomeClick);
    btnHome->setToolTip(QStringLiteral("The First Card - Alt+H / Alt+Home"));
    btnEnd = Button(area, QStringLiteral("&End"), {300, 503, 47, 35}, &TForm1::btnEndClick);
    btnEnd->setToolTip(QStringLiteral("The Last Card - Alt+E / Alt+End"));
    btnTaakse = Button(area, QStringLiteral("Pre&vious\nCard"), {350, 468, 63, 35}, &TForm1::btnTaakseClick);
    btnTaakse->setToolTip(QStringLiteral("Previous Card - Alt+V / Ctrl+PageUp"));
    btnEteen = Button(area, QStringLiteral("&Next\nCard"), {350, 503, 63, 35}, &TForm1::btnEteenClick);
    btnEteen->setToolTip(QStringLiteral("Next Card - Alt+N / Ctrl+PageDown"));
    btn10taakse = Button(area, QStringLiteral("<-&10"), {263, 468, 36, 35}, &TForm1::btn10taakseClick);
    btn10taakse->setToolTip(QStringLiteral("10 Cards Backwords - Alt +1 / Alt+PgUp"));
    btn10eteen = Button(area, QStringLiteral("1&0 ->"), {263, 503, 36, 35}, &TForm1::btn10eteenClick);
    btn10eteen->setToolTip(QStringLiteral("10 Cards Forwards - Alt + 0 / Alt+PageDown"));
    btnGo = Button(area, QStringLiteral("&Go!"), {167, 500, 33, 17}, &TForm1::btnGoClick);

    btnLisaa = Button(area, QStringLiteral("New Ca&rd\nF5"), {516, 88, 74, 57}, &TForm1::btnLisaaClick);
    btnLisaa->setToolTip(QStringLiteral("Create new empty card to the end of the card file"));
    Button1 = Button(area, QStringLiteral("Create"), {271, 128, 66, 17}, &TForm1::Button1Click);
    Button1->setToolTip(QStringLiteral("Create file link through the File Explorer"));
    Button2 = Button(area, QStringLiteral("Open"), {343, 128, 70, 17}, &TForm1::Button2Click);
    Button2->setToolTip(QStringLiteral("Open linked file to its parent software"));

    for (QWidget* w : std::initializer_list<QWidget*>{btnPoista, btnLisaa, btnTallenna, btnTaakse, btnEteen,
                                                      btn10taakse, btn10eteen, btnHome, btnEnd, btnGo,
                                                      Button1, Button2})
        fileControls_.push_back(w);
}

void TForm1::BuildMenus()
{
    File1 = menuBar()->addMenu(QStringLiteral("&File"));
    Uusi1 = Entry(File1, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), &TForm1::Uusi1Click);
    Avaa1 = Entry(File1, QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O), &TForm1::Avaa1Click);
    Tallenna1 = Entry(File1, QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::Tallenna1Click);
    Tallennanimell1 = Entry(File1, QStringLiteral("Save &As"), {}, &TForm1::Tallennanimell1Click);
    Tallennanimell1->setToolTip(QStringLiteral("Save Cardomo card file"));
    File1->addSeparator();
    Sulje1 = Entry(File1, QStringLiteral("&Close"), {}, &TForm1::Sulje1Click);
    File1->addSeparator();
    Lopeta1 = Entry(File1, QStringLiteral("&Exit"), {}, &TForm1::Lopeta1Click);

    Edit1Menu = menuBar()->addMenu(QStringLiteral("Edit"));
    Palautapoistettukortti1 = Entry(Edit1Menu, QStringLiteral("Bring back deleted card as a new card"), {},
                                    &TForm1::Palautapoistettukortti1Click);
    Liskortti1 = Entry(Edit1Menu, QStringLiteral("Add a new empty card"), QKeySequence(Qt::Key_F5),
                       &TForm1::Liskortti1Click);
    Tallennakortti1 = Entry(Edit1Menu, QStringLiteral("Tallenna kortti"), {}, &TForm1::btnTallennaClick);
    Tallennakortti1->setVisible(false);
    Kopioikortti1 = Entry(Edit1Menu, QStringLiteral("Copy current card  to the clip board"),
                          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C), &TForm1::Kopioikortti1Click);
    KopioikorttileikepydlleVista2 = Entry(Edit1Menu, QStringLiteral("Kopioi kortti leikepöydälle (Vista)"), {},
                                          &TForm1::Kopioikortti1Click);
    KopioikorttileikepydlleVista2->setVisible(false);
    Liitkortti1 = Entry(Edit1Menu,
                        QStringLiteral("Liitä kortti leikepöydältä esillä olevaan korttipohjaan"), {},
                        &TForm1::Liitkortti1Click);
    Liitkortti1->setVisible(false);
    Liitkorttiuutena = Entry(Edit1Menu, QStringLiteral("Paste the card from the clipboard as a new card"),
                             QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V), &TForm1::LiitkorttiuutenaClick);
    Poistakortti1 = Entry(Edit1Menu, QStringLiteral("Delete current card"), {}, &TForm1::Poistakortti1Click);
    Edit1Menu->addSeparator();
    Lisaikaleima1 = Entry(Edit1Menu, QStringLiteral("Add a time stamp to the Memo field"),
                          QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A), &TForm1::Lisaikaleima1Click);
    Lisaikaleimavvvvkkpvhhmmss1 = Entry(Edit1Menu, QStringLiteral("Add a time stamp (+yyyy-mm-dd hh:mm:ss)"),
                                        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q),
                                        &TForm1::Lisaikaleimavvvvkkpvhhmmss1Click);
    Edit1Menu->addSeparator();
    EtsiMemokentst1 = Entry(Edit1Menu, QStringLiteral("Find from the Memo field"),
                            QKeySequence(Qt::CTRL | Qt::Key_F), &TForm1::EtsiMemokentst1Click);
    Etsiseuraava1 = Entry(Edit1Menu, QStringLiteral("Find next from the Memo field  (Ctrl+D)"),
                          QKeySequence(Qt::Key_F3), &TForm1::Etsiseuraava1Click);

    // Keys without a menu entry of their own; each command checks FileOpen.
    struct Key {
        QKeySequence keys;
        void (TForm1::*handler)();
    };
    for (const Key& k : {Key{QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K), &TForm1::Kopioikortti1Click},
                         Key{QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_W), &TForm1::Liitkortti1Click},
                         Key{QKeySequence(Qt::CTRL | Qt::Key_D), &TForm1::Etsiseuraava1Click}}) {
        auto* a = new QAction(this);
        a->setShortcut(k.keys);
        a->setShortcutContext(Qt::WindowShortcut);
        auto handler = k.handler;
        connect(a, &QAction::triggered, this, [this, handler] { Guard([this, handler] { (this->*handler)(); }); });
        addAction(a);
    }

    Options1 = menuBar()->addMenu(QStringLiteral("Options"));
    UTF8mode1 = Entry(Options1, QStringLiteral("File Open/Save in UTF-8 mode"), {}, nullptr);
    ANSImode1 = Entry(Options1, QStringLiteral("File Open/Save in ANSI mode"), {}, nullptr);
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
    // The menu holds nothing visible yet.
    Options1->menuAction()->setVisible(false);

    fileEntries_ = {Tallennanimell1, Tallenna1, Sulje1, Liskortti1, Tallennakortti1, Kopioikortti1,
                    KopioikorttileikepydlleVista2, Liitkortti1, Liitkorttiuutena, Poistakortti1,
                    Lisaikaleima1, Lisaikaleimavvvvkkpvhhmmss1, EtsiMemokentst1, Etsiseuraava1};
}

void TForm1::BuildTabOrder()
{
    std::vector<QWidget*> order;
    for (int cell = 0; cell < 10; ++cell)
        order.push_back(editors[cell]);
    for (QWidget* w : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2),
                       static_cast<QWidget*>(memoMUISTIINPANO), static_cast<QWidget*>(editKORTTINRO),
                       static_cast<QWidget*>(btnGo), static_cast<QWidget*>(btn10taakse),
                       static_cast<QWidget*>(btn10eteen), static_cast<QWidget*>(btnHome),
                       static_cast<QWidget*>(btnEnd), static_cast<QWidget*>(btnTaakse),
                       static_cast<QWidget*>(btnEteen)})
        order.push_back(w);
    for (int cell = 10; cell < 17; ++cell)
        order.push_back(editors[cell]);
    order.push_back(btnLisaa);
    for (size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
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
        Guard([&] { CommandLineOpen(args.first()); });
    else
        Guard([this] { Uusi1Click(); });
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

QString TForm1::FileNamePart(const QString& path) const
{
    return QFileInfo(path).fileName();
}

// ---------------------------------------------------------------------------
// Store and show

void TForm1::SetEditorText(int cell, const QString& text)
{
    QWidget* e = editors[cell];
    if (cell == MemoCell)
        memoMUISTIINPANO->SetText(text);
    else if (auto* box = qobject_cast<OneLineBox*>(e))
        box->SetText(text);
    else
        static_cast<FieldLine*>(e)->SetText(text);
}

QString TForm1::EditorText(int cell) const
{
    QWidget* e = editors[cell];
    if (cell == MemoCell)
        return memoMUISTIINPANO->Text();
    if (auto* box = qobject_cast<OneLineBox*>(e))
        return box->Text();
    return static_cast<FieldLine*>(e)->text();
}

void TForm1::btnTallennaClick()
{
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
    const Card& row = s_.CardTable[static_cast<size_t>(s_.CurrentCard)];
    for (int cell = 0; cell <= MemoCell; ++cell)
        SetEditorText(cell, row[cell]);
    lblKorttitunnistenro->setText(QStringLiteral("19. Card ID: ") + row[CardIdCell]);
    editKORTTINRO->setText(QString::number(s_.CurrentCard + 1));
    Label23->setText(QStringLiteral(" / ") + QString::number(s_.CardCount));
}

// ---------------------------------------------------------------------------
// New and Open

void TForm1::Uusi1Click()
{
    if (s_.FileOpen) {
        platform_.Message(QStringLiteral("The file is already open. Please close it first"));
        return;
    }
    btnAktivoiClick();
    Uusi1->setEnabled(false);
    Avaa1->setEnabled(false);
    s_.CardFileName = QStringLiteral("New.kqk");
    setWindowTitle(QStringLiteral("New.kqk") + ProgramCaption);
    s_.RenewTables();
    s_.FileOpen = true;
    s_.CardCount = 1;
    s_.CurrentCard = 0;
    s_.CardTable[0] = Card{};
    s_.CardTable[0][CardIdCell] = MakeCardId(platform_.Now());
    btnPaivitaClick();
}

void TForm1::FailedOpen()
{
    s_.ReleaseTables();
    s_.FileOpen = false;
}

// Reads path into CardTable; false after the message of a failed open.
bool TForm1::ReadIntoTable(const QString& path, const std::function<void(int)>& progress)
{
    s_.RenewTables();
    if (!HasUtf8Bom(path)) {
        platform_.Message(AnsiFileMessage);
        return false;
    }
    const CardFileReadOutcome r = ReadCardFile(path, CardEncoding::Utf8, s_.MaxCardCount, s_.CardTable, progress);
    switch (r.result) {
    case CardFileReadResult::Ok:
        break;
    case CardFileReadResult::NotCardFile:
        platform_.Message(QStringLiteral(
            "The file you are trying to open might be saved with different version than you are using, "
            "or the data file is corrupted. Please update the software."));
        return false;
    case CardFileReadResult::TooManyCards:
        platform_.Message(QStringLiteral("The number of the cards of this file exeeds allowed maximum which is ")
                          + QString::number(s_.MaxCardCount) + QStringLiteral(" cards"));
        return false;
    case CardFileReadResult::MemoTooLong:
        platform_.Message(QStringLiteral("File opening error!! The number of the lines of the Memo in some card "
                                         "might exeed max 32000 or the file is corrupted: ")
                          + QString::number(r.memoLines) + QStringLiteral(" Card: ")
                          + QString::number(r.cardIndex));
        return false;
    }
    s_.CardCount = r.count;
    return true;
}

void TForm1::OpenSucceeded(const QString& path)
{
    if (s_.CardCount < 1) {
        // A hand-made file whose count line says 0 or less: it opens with one
        // empty card, as New makes it, so that no row -1 is ever shown.
        s_.CardCount = 1;
        s_.CardTable[0] = Card{};
        s_.CardTable[0][CardIdCell] = MakeCardId(platform_.Now());
    }
    s_.CurrentCard = s_.CardCount - 1;
    s_.CardFileName = path;
    setWindowTitle(FileNamePart(path) + ProgramCaption);
    btnAktivoiClick();
    Uusi1->setEnabled(false);
    Avaa1->setEnabled(false);
    btnPaivitaClick();
    s_.FileOpen = true;
    s_.CardFileChanged = false;
}

void TForm1::CommandLineOpen(const QString& path)
{
    try {
        if (!ReadIntoTable(path, {})) {
            FailedOpen();
            return;
        }
    } catch (...) {
        FailedOpen();
        throw;
    }
    OpenSucceeded(path);
}

void TForm1::Avaa1Click()
{
    if (s_.FileOpen)
        return;
    const FileDialogRequest request{QStringLiteral("Open Cardomo card file (.kqk) UTF-8"), CardFileFilter, QString()};
    form12_->setWindowTitle(QStringLiteral("Opening - Please wait..."));
    form12_->ShowOver(this);
    const std::optional<QString> chosen = platform_.OpenFileDialog(request);
    if (!chosen) {
        form12_->close();
        return;
    }
    const QString path = *chosen;
    if (!QFileInfo::exists(path)) {
        platform_.Message(NoSuchFile);
        form12_->close();
        return;
    }
    try {
        const bool ok = ReadIntoTable(path, [this](int i) {
            form12_->setWindowTitle(QStringLiteral("Reading cards: ") + QString::number(i));
        });
        if (!ok) {
            form12_->setWindowTitle(QString());
            form12_->close();
            FailedOpen();
            return;
        }
    } catch (...) {
        form12_->close();
        FailedOpen();
        throw;
    }
    OpenSucceeded(path);
    memoMUISTIINPANO->setFocus();
    form12_->close();
}

// ---------------------------------------------------------------------------
// Save, Save As, Close, Exit

void TForm1::Tallenna1Click()
{
    btnTallennaClick();
    if (IsReadOnlyFile(s_.CardFileName)) {
        platform_.Message(s_.CardFileName + QStringLiteral(" on kirjoitussuojattu. Ei voi tallentaa"));
        SaveRefused = true;
        return;
    }
    // A file that cannot be created ends Save (and a Close that asked for it)
    // through the general error report.
    const CardFileWriteResult r = WriteCardFile(s_.CardFileName, s_.CardTable, s_.CardCount, MainFileHeaderText);
    if (r.status != CardFileWriteResult::Ok) {
        platform_.Message(QStringLiteral("File handling error occurred. Details: \r\n") + r.errorKind
                          + QStringLiteral("/") + r.errorText);
        SaveFailed = true;
        return;
    }
    if (CheckDiskSpace(platform_, s_.CardFileName))
        SaveFailed = true;
    s_.CardFileChanged = false;
}

void TForm1::Tallennanimell1Click()
{
    btnTallennaClick();
    const std::optional<QString> chosen = platform_.SaveFileDialog(
        {QStringLiteral("Save Cardomo card file as (.kqk) UTF-8"), CardFileFilter, FileNamePart(s_.CardFileName)});
    if (!chosen)
        return;
    QString path = *chosen;
    if (path.isEmpty()) {
        platform_.Message(QStringLiteral("Please give a name for the file!"));
        return;
    }
    if (!path.contains(QLatin1String(".kqk")) && !path.contains(QLatin1String(".KQK")))
        path += QStringLiteral(".kqk");
    if (QFileInfo::exists(path)) {
        const MsgAnswer a = platform_.Message(QStringLiteral("The file ") + FileNamePart(path)
                                                  + QStringLiteral(" already exists. Do you want to replace it?"),
                                              MsgIcon::None, MsgButtons::YesNoCancel);
        if (a != MsgAnswer::Yes)
            return;
    }
    s_.CardFileName = path;
    const CardFileWriteResult r = WriteCardFile(path, s_.CardTable, s_.CardCount, MainFileHeaderText);
    if (r.status != CardFileWriteResult::Ok) {
        platform_.Message(QStringLiteral("Exception Class name: ") + r.errorKind);
        platform_.Message(QStringLiteral("Exception Message: ") + r.errorText);
        return;
    }
    CheckDiskSpace(platform_, path);
    setWindowTitle(FileNamePart(path) + ProgramCaption);
    s_.CardFileChanged = false;
}

void TForm1::Sulje1Click()
{
    btnTallennaClick();
    if (s_.CardFileChanged) {
        const MsgAnswer a = platform_.Message(
            QStringLiteral(" The card file is changed. Do you want save the changes before closing?"), MsgIcon::None,
            MsgButtons::YesNoCancel);
        if (a == MsgAnswer::Yes) {
            SaveRefused = false;
            SaveFailed = false;
            if (Tallenna1->isEnabled())
                Tallenna1Click();
            if (SaveRefused) {
                SaveRefused = false;
                return;
            }
            if (SaveFailed) {
                platform_.Message(QStringLiteral("There was an error in saving"));
                SaveFailed = false;
                s_.CardFileChanged = true;
                return;
            }
        } else if (a != MsgAnswer::No) {
            return;
        }
    } else if (platform_.Message(QStringLiteral("Do you really want to close the file?"), MsgIcon::None,
                                 MsgButtons::YesNo)
               != MsgAnswer::Yes) {
        return;
    }
    s_.FileOpen = false;
    s_.ReleaseTables();
    s_.CardFileName.clear();
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
    s_.CardFileChanged = false;
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

void TForm1::btnHomeClick() { MoveTo(0); }
void TForm1::btnEndClick() { MoveTo(s_.CardCount - 1); }
void TForm1::btnTaakseClick() { MoveTo(s_.CurrentCard - 1); }
void TForm1::btnEteenClick() { MoveTo(s_.CurrentCard + 1); }
void TForm1::btn10taakseClick() { MoveTo(s_.CurrentCard - 10); }
void TForm1::btn10eteenClick() { MoveTo(s_.CurrentCard + 10); }

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
    if (s_.CardCount == s_.MaxCardCount) {
        platform_.Message(QStringLiteral("The maximun count of the cards is ") + QString::number(s_.MaxCardCount));
        return;
    }
    s_.CardCount += 1;
    s_.CurrentCard = s_.CardCount - 1;
    Card& row = s_.CardTable[static_cast<size_t>(s_.CurrentCard)];
    row = Card{};
    row[CardIdCell] = MakeCardId(platform_.Now());
    btnPaivitaClick();
    s_.CardFileChanged = true;
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
    auto& table = s_.CardTable;
    const auto current = static_cast<size_t>(s_.CurrentCard);
    const auto count = static_cast<size_t>(s_.CardCount);
    s_.DeletedCard = table[current];
    if (current == count - 1) {
        if (current == 0) {
            const QString id = table[0][CardIdCell];
            table[0] = Card{};
            table[0][CardIdCell] = id;
        } else {
            table[current] = Card{};
            s_.CardCount -= 1;
            s_.CurrentCard = s_.CardCount - 1;
        }
    } else {
        std::move(table.begin() + static_cast<qsizetype>(current) + 1, table.begin() + static_cast<qsizetype>(count),
                  table.begin() + static_cast<qsizetype>(current));
        table[count - 1] = Card{};
        s_.CardCount -= 1;
    }
    btnPaivitaClick();
    s_.CardFileChanged = true;
    s_.DeletedCardHeld = true;
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
    if (!s_.FileOpen || !s_.DeletedCardHeld)
        return;
    if (s_.CardCount == s_.MaxCardCount) {
        platform_.Message(QStringLiteral("The maximum number of cards is ") + QString::number(s_.MaxCardCount));
        return;
    }
    s_.CardCount += 1;
    s_.CurrentCard = s_.CardCount - 1;
    s_.CardTable[static_cast<size_t>(s_.CurrentCard)] = s_.DeletedCard;
    s_.DeletedCardHeld = false;
    Palautapoistettukortti1->setEnabled(false);
    btnPaivitaClick();
    s_.CardFileChanged = true;
}

void TForm1::Kopioikortti1Click()
{
    btnTallennaClick();
    if (!s_.FileOpen)
        return;
    const Card& row = s_.CardTable[static_cast<size_t>(s_.CurrentCard)];
    std::copy(row.begin(), row.begin() + CardIdCell, s_.CopiedCard.begin());
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
    for (int cell = 0; cell <= MemoCell; ++cell)
        SetEditorText(cell, s_.CopiedCard[static_cast<size_t>(cell)]);
    btnTallennaClick();
    s_.CardFileChanged = true;
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
    const std::optional<QString> chosen = platform_.OpenFileDialog(
        {QStringLiteral("Open"), QStringLiteral("Kaikki tiedostot (*.*)|*.*"), QString()});
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
    platform_.ShellOpen(Memo1->Text());
}

// ---------------------------------------------------------------------------
// Find in the Memo

void TForm1::EtsiMemokentst1Click()
{
    QTextCursor c = memoMUISTIINPANO->textCursor();
    c.setPosition(0);
    memoMUISTIINPANO->setTextCursor(c);
    form15_->ShowFind();
}

void TForm1::Etsiseuraava1Click()
{
    if (s_.FileOpen)
        form15_->Button1Click();
}

// ---------------------------------------------------------------------------
// Change tracking and keys

void TForm1::MemoChanged()
{
    const int lines = memoMUISTIINPANO->LineCount();
    Label22->setText(QStringLiteral("18. Memo (Lines ") + QString::number(lines) + u')');
    Label22->adjustSize();
    if (lines >= MemoTypingLimit)
        platform_.Message(QStringLiteral("Only ") + QString::number(MemoTypingLimit - 1)
                          + QStringLiteral(" lines allowed!"));
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
    if (TypesCharacter(key))
        s_.CardFileChanged = true;
    return false;
}

bool TForm1::MemoKeyPress(QKeyEvent* key)
{
    if (key->key() == Qt::Key_Backspace || !TypesCharacter(key))
        return false;
    s_.CardFileChanged = true;
    if (memoMUISTIINPANO->LineCount() >= MemoTypingLimit) {
        platform_.Message(QStringLiteral("Only ") + QString::number(MemoTypingLimit - 1)
                          + QStringLiteral(" lines allowed. Please decrease the line count."));
        return true;
    }
    return false;
}

bool TForm1::NumberBoxKeyPress(QKeyEvent* key)
{
    if (IsEnter(key)) {
        Guard([this] { btnGoClick(); });
        return true;
    }
    if (key->key() == Qt::Key_Backspace)
        return false;
    if (key->matches(QKeySequence::Paste))
        return true;
    const QString t = key->text();
    if (t.size() == 1 && t[0] >= u' ' && t[0] != QChar(0x7f))
        return !(t[0] >= u'0' && t[0] <= u'9');
    return false;
}

bool TForm1::WindowKeyPress(QKeyEvent* key)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    void (TForm1::*command)() = nullptr;
    if (mods == Qt::ControlModifier) {
        if (key->key() == Qt::Key_PageUp)
            command = &TForm1::btnTaakseClick;
        else if (key->key() == Qt::Key_PageDown)
            command = &TForm1::btnEteenClick;
    } else if (mods == Qt::AltModifier) {
        switch (key->key()) {
        case Qt::Key_PageUp: command = &TForm1::btn10taakseClick; break;
        case Qt::Key_PageDown: command = &TForm1::btn10eteenClick; break;
        case Qt::Key_Home: command = &TForm1::btnHomeClick; break;
        case Qt::Key_End: command = &TForm1::btnEndClick; break;
        default: break;
        }
    }
    if (command && s_.FileOpen)
        Guard([this, command] { (this->*command)(); });
    return false;  // the focused control gets the key too
}

bool TForm1::Wheel(QWheelEvent* wheel)
{
    if (!s_.FileOpen)
        return false;
    QWidget* under = childAt(mapFromGlobal(wheel->globalPosition().toPoint()));
    for (QWidget* w = under; w && w != this; w = w->parentWidget())
        if (std::find(wheelOwners_.begin(), wheelOwners_.end(), w) != wheelOwners_.end())
            return false;  // the control scrolls as usual
    wheelRest_ += wheel->angleDelta().y();
    Guard([this] {
        while (wheelRest_ >= 120) {
            wheelRest_ -= 120;
            btnTaakseClick();
        }
        while (wheelRest_ <= -120) {
            wheelRest_ += 120;
            btnEteenClick();
        }
    });
    return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::Wheel)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::Wheel)
        return Wheel(static_cast<QWheelEvent*>(event));

    // Keys: the window sees each key once, before the control that has the focus.
    if (widget != QApplication::focusWidget() && !(QApplication::focusWidget() == nullptr && widget == this))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (WindowKeyPress(key))
        return true;
    if (widget == memoMUISTIINPANO)
        return MemoKeyPress(key);
    if (widget == editKORTTINRO)
        return NumberBoxKeyPress(key);
    for (int cell = 0; cell < MemoCell; ++cell)
        if (widget == editors[cell])
            return FieldKeyPress(key);
    return false;
}
