// Where the ink of a label's text ends when the text is drawn whole, the way
// the label draws it (its font, from the left of its contents), at a device
// pixel ratio: more than the label's width means the label cuts it off.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPainter>

inline double InkRight(const QLabel& label, qreal ratio)
{
    const QRect contents = label.contentsRect();
    const int width = contents.left() + 4 * label.width();
    const int height = label.height();
    QImage image(QSize(width, height) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(label.font());
        painter.setPen(Qt::black);
        painter.drawText(QRect(contents.left(), contents.top(), width, contents.height()),
            int(Qt::AlignLeft | Qt::AlignVCenter) | Qt::TextSingleLine, label.text());
    }
    for (int x = image.width() - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 160)
                return (x + 1) / ratio;
    return 0;
}
