#include "viewerwindow.h"

#include "wiring.h"

#include <QAbstractScrollArea>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>

void PlaceViewer(QMainWindow& window, QAbstractScrollArea* viewer)
{
    auto* client = new QWidget(&window);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(viewer);
    viewer->setParent(client);
    viewer->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (auto* rich = qobject_cast<QTextEdit*>(viewer)) {
        rich->setReadOnly(true);
        rich->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(viewer)) {
        plain->setReadOnly(true);
        plain->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    window.setCentralWidget(client);
}

CloseMenu AddCloseMenu(QMainWindow& window, Platform& platform, const QString& menuName, const QString& menuCaption,
    const QString& entryName, const QString& entryCaption, std::function<void()> close)
{
    QMenu* menu = window.menuBar()->addMenu(menuCaption);
    menu->setObjectName(menuName);
    QAction* entry = menu->addAction(entryCaption);
    entry->setObjectName(entryName);
    Wire(entry, platform, close);
    WireKey(&window, QKeySequence(Qt::Key_Escape), platform, close);
    return {menu, entry};
}

void SetClientSize(QMainWindow& window, const QSize& clientSize)
{
    window.resize(clientSize.width(), clientSize.height() + window.menuBar()->sizeHint().height());
}
