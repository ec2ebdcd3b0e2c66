// GoogleTest prints Qt texts as text in its failure messages.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
