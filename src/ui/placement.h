// Where windows appear.
#pragma once

class QWidget;

// Places window in the middle of the screen (its frame, as far as the window
// system has told it).
void CentreOnScreen(QWidget& window);

// Shows window not modally, in front of the others, with the keyboard focus.
void ShowInFront(QWidget& window);

// Makes window a window of owner's for the window system (the one that a
// Qt parent would make it), without owner owning it: it stays in front of
// owner, and stays usable beside a modal run of owner. Set each time window
// is shown, before it reaches the screen.
void KeepInFrontOf(QWidget& window, QWidget& owner);
