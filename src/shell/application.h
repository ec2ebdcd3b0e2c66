// The owner of the program's state and windows: creates them in the order
// of program start and hands each window the others it calls.
#pragma once

#include "cardstore.h"

#include <QStringList>
#include <memory>

class Platform;
class TForm1;
class TForm12;
class TForm15;

class CardomoApplication {
public:
    explicit CardomoApplication(Platform& platform);
    ~CardomoApplication();

    // Program start: the start-up window, the main window with its start-up
    // steps (args are the command-line arguments), then the other windows.
    // showSplash false leaves the start-up window out (benchmarks).
    void Start(const QStringList& args, bool showSplash = true);

    CardStore store;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm15> form15;
    std::unique_ptr<TForm12> form12;

private:
    Platform& platform_;
};
