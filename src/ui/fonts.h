// The fonts of the windows, sized in pixels as the windows are laid out.
#pragma once

#include <QFont>
#include <QString>

QFont PixelFont(const QString& family, int pixels, bool bold = false);

inline QFont ArialPx(int pixels, bool bold = false)
{
    return PixelFont(QStringLiteral("Arial"), pixels, bold);
}
