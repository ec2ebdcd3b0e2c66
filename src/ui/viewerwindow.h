// What the text windows (the manual viewers, the licence text) share: one
// read-only viewer filling the window inside a border, and a menu whose one
// entry, like Esc, closes the window.
#pragma once

#include <QString>
#include <functional>

class Platform;
class QAbstractScrollArea;
class QAction;
class QMainWindow;
class QMenu;
class QSize;
class QWidget;

// Puts viewer into window as its only content, inside a border of 5 pixels,
// read-only, with a vertical scroll bar always shown.
void PlaceViewer(QMainWindow& window, QAbstractScrollArea* viewer);

// The window's menu (menuName, menuCaption) with its one entry (entryName,
// entryCaption). The entry and Esc pressed anywhere in the window run close.
struct CloseMenu {
    QMenu* menu;
    QAction* entry;
};
CloseMenu AddCloseMenu(QMainWindow& window, Platform& platform, const QString& menuName, const QString& menuCaption,
    const QString& entryName, const QString& entryCaption, std::function<void()> close);

// Sizes window so that the area below its menu bar is clientSize.
void SetClientSize(QMainWindow& window, const QSize& clientSize);
