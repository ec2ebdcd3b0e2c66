#include "placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

void CentreOnScreen(QWidget& window)
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

void ShowInFront(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

namespace {
// The window's native window exists when it is about to be shown, and the
// window system learns of its owner when it is put on the screen.
class TransientFor : public QObject {
public:
    TransientFor(QWidget& window, QWidget& owner) : QObject(&window), owner_(&owner)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && owner_) {
            QWindow* handle = static_cast<QWidget*>(watched)->windowHandle();
            QWindow* ownerHandle = owner_->window()->windowHandle();
            if (handle && ownerHandle && handle->transientParent() != ownerHandle)
                handle->setTransientParent(ownerHandle);
        }
        return false;
    }

private:
    QPointer<QWidget> owner_;
};
}  // namespace

void KeepInFrontOf(QWidget& window, QWidget& owner)
{
    new TransientFor(window, owner);  // the window's child
}
