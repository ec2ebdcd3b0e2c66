// A main window over its own store and a scripted platform, built and shown
// as program start builds it.
#pragma once

#include "cardfile.h"
#include "Unit12.h"
#include "Unit15.h"
#include "uusi6.h"
#include "scriptedplatform.h"
#include "support/testfiles.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class MainWindowTest : public ::testing::Test {
protected:
    // Starts the program's main window with these command-line arguments.
    void Start(const QStringList& args = {})
    {
        form15.reset();
        form12.reset();
        form.reset();
        form = std::make_unique<TForm1>(store, platform);
        form->show();
        form->FormCreate(args);
        form15 = std::make_unique<TForm15>(platform, form->memoMUISTIINPANO, form.get());
        form12 = std::make_unique<TForm12>(form.get());
        form->SetMemoFindWindow(form15.get());
        form->SetWaitWindow(form12.get());
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get(), 2000));
    }

    void TearDown() override
    {
        store.FileOpen = false;  // lets the window close
        form15.reset();
        form12.reset();
        form.reset();
    }

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
    CardStore store;
    ScriptedPlatform platform;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm15> form15;
    std::unique_ptr<TForm12> form12;
};
