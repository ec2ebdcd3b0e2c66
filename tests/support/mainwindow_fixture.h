// The program as its start-up object builds it (the start-up window left
// out), over a scripted platform, with the main window active.
#pragma once

#include "Unit12.h"
#include "Unit15.h"
#include "application.h"
#include "cardfile.h"
#include "scriptedplatform.h"
#include "support/testfiles.h"
#include "uusi6.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    // Starts the program with these command-line arguments.
    void Start(const QStringList& args = {})
    {
        program.reset();
        program = std::make_unique<CardomoApplication>(platform);
        program->Start(args, false);
        form = program->windows().form1;
        form15 = program->windows().form15;
        form12 = program->windows().form12;
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form, 2000));
    }

    void TearDown() override
    {
        if (program)
            program->store.FileOpen = false;  // lets the windows close
        program.reset();
    }

    CardStore& store() { return program->store; }
    const CardStore& store() const { return program->store; }

    QString Path(const QString& name) const { return dir.filePath(name); }

    // A card file of n cards whose Title1 is "Card k" and Memo "Memo k".
    QString MakeFile(int n, const QString& name = QStringLiteral("cards.kqk"))
    {
        CardRows rows(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            rows[i][0] = QStringLiteral("Card %1").arg(i + 1);
            rows[i][MemoCell] = QStringLiteral("Memo %1").arg(i + 1);
            rows[i][CardIdCell] = QStringLiteral("id%1").arg(i + 1);
        }
        WriteCardFile(Path(name), rows, n, MainFileHeaderText);
        return Path(name);
    }

    QString Title1() const { return form->memoTUNNISTE->Text(); }

    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<CardomoApplication> program;
    TForm1* form = nullptr;
    TForm15* form15 = nullptr;
    TForm12* form12 = nullptr;
};
