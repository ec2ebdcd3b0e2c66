// Small helpers for tests that work on files.
#pragma once

#include "qtprinters.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <initializer_list>

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write test file");
    f.write(bytes);
}

// Lines joined, each ended by CR LF.
inline QByteArray CrLfLines(std::initializer_list<const char*> lines)
{
    QByteArray out;
    for (const char* l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}
