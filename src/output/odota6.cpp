#include "odota6.h"

#include "fonts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

// Not a child of the main window: the picked listings disable the main window
// before they show this one, and a disabled window disables its children.
TForm5::TForm5(WindowContext&) : QDialog(nullptr)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Collecting the listing..."));
    setModal(false);
    Label1 = new QLabel(QStringLiteral("Press ESC to Interrupt the listing"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(ArialPx(16, true));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    setFixedSize(317, 132);
}

void TForm5::ShowWait()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    // The keyboard comes here, so that Esc held down is seen: the window the
    // work started from is hidden.
    activateWindow();
    // Drawn before the work goes on: a short work would otherwise end before
    // the window system has mapped the window, and the window would stand
    // empty while the result is shown.
    QElapsedTimer mapping;
    mapping.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && mapping.elapsed() < 250)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    repaint();
}

void TForm5::CloseWait()
{
    // Keys pressed while the window stood, after the work last looked at the
    // events, are its own: an Esc that came too late to interrupt must not
    // close the window that shows the result.
    QCoreApplication::processEvents();
    hide();
}

void TForm5::keyPressEvent(QKeyEvent* event)
{
    // Esc is the listing's to see (held down, it ends the work); a dialog
    // would close on it.
    if (event->key() == Qt::Key_Escape)
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

void TForm5::closeEvent(QCloseEvent* event)
{
    // Only the work that showed the window closes it (CloseWait).
    event->ignore();
}
