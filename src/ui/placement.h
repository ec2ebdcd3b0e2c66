// Where a window first appears.
#pragma once

class QWidget;

// Puts the window's frame in the middle of the primary screen.
void CentreOnScreen(QWidget* window);
