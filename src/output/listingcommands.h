// The four listing commands: they collect the listing text of their cards
// into the listing window (with the wait window over a long table, events
// processed after each card and Esc held down ending the collection) and
// show the listing window modally over the window they came from.
#pragma once

#include "listing.h"
#include "windows.h"

class QWidget;

// Lists the cards of kind and returns when the listing window is closed.
//
// AllCards and CurrentCard are the main window's "&List F8" and "F&7"
// (TForm1.btnListausClick, TForm1.Button3Click): they close the Memo find
// window, clear PickedWindowActive, store the current card, say "No card file
// is open!" without an open card file, and hide the main window; an error
// while collecting ends in "Error!" with the main window back.
//
// PickedCards and CurrentPickedCard are the picked cards window's "&List  F8"
// and "F&7" (TForm3.btnListausClick, TForm3.Button2Click), which pass the
// picked cards window itself as pickedWindow: they set PickedWindowActive and
// hide and disable the main window and the picked cards window; closing the
// listing window enables and shows the picked cards window again. An error
// while collecting brings those windows back and goes on to the general error
// report.
void ListCards(WindowContext& context, ListingKind kind, QWidget* pickedWindow = nullptr);
