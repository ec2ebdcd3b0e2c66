// How the windows reach each other: one context, made by the program's
// start-up object and handed to every window at construction. The window
// pointers are filled in once every window exists: a window looks up the
// others when it needs them, never while it is being built. The main window
// and the picked cards window are reached through their links
// (windowlinks.h).
#pragma once

struct CardStore;
struct MainWindowLink;
struct PickedWindowLink;
class Platform;
struct PrintState;

class TForm2;
class TForm5;
class TForm6;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;
class TForm15;
class TForm16;
class TForm17;
class TForm19;
class TForm20;
class TPreviewForm;
class TSCRSaver;

struct Windows {
    MainWindowLink* main = nullptr;  // the main window
    TPreviewForm* preview = nullptr;  // print preview
    TForm2* form2 = nullptr;  // listing
    PickedWindowLink* picked = nullptr;  // picked cards
    TForm5* form5 = nullptr;  // wait window of listings and previews
    TForm6* form6 = nullptr;  // About
    TForm8* form8 = nullptr;  // quick manual
    TForm9* form9 = nullptr;  // manual
    TForm10* form10 = nullptr;  // field selection for listings
    TForm11* form11 = nullptr;  // card picking by order number
    TForm15* form15 = nullptr;  // find in the Memo
    TForm16* form16 = nullptr;  // find and replace in cards
    TForm17* form17 = nullptr;  // find in a listing
    TForm13* form13 = nullptr;  // card filtering by order number
    TForm12* form12 = nullptr;  // wait window of Open
    TSCRSaver* screenSaver = nullptr;
    TForm19* form19 = nullptr;  // licence text
    TForm20* form20 = nullptr;  // screen saver options
};

struct WindowContext {
    CardStore& store;
    Platform& platform;
    // The kind of pages the preview and the print commands handle, the
    // listing cut into pages and the line breaker of the printed pages.
    PrintState& print;
    Windows windows;
};
