// Where windows appear.
#pragma once

class QWidget;

// Places window in the middle of the screen (its frame, as far as the window
// system has told it).
void CentreOnScreen(QWidget& window);

// Shows window not modally, in front of the others, with the keyboard focus.
void ShowInFront(QWidget& window);
