// Where the program's documents (the manuals, the licence text) are found:
// beside the executable first, so a build folder or an unpacked copy uses its
// own, then in the data folder of an installed program.
#pragma once

#include <QString>
#include <optional>

// The path of the file fileName in executableFolder, else in dataFolder, when
// it exists there as a file (a folder of that name does not count); nothing
// when neither holds it. An empty folder is not looked in.
std::optional<QString> FindManualFile(
    const QString& executableFolder, const QString& dataFolder, const QString& fileName);
