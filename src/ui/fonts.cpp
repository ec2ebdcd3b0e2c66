#include "fonts.h"

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
