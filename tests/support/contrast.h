// How readable a text drawn on a control is: the contrast ratio between the
// control's background (its most frequent colour) and the colour that stands
// out most from it, as the web's accessibility guidelines count it (1 for
// none, 21 for black on white), and a dark desktop palette to try it under.
#pragma once

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <map>

inline double RelativeLuminance(QRgb rgb)
{
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

inline double ContrastRatio(QRgb a, QRgb b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline double TextContrast(const QImage& image)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xff000000u];
    if (counts.empty())
        return 1.0;
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
    })->first;
    double best = 1.0;
    for (const auto& [colour, n] : counts)
        best = std::max(best, ContrastRatio(colour, background));
    return best;
}

// A dark desktop palette for the whole application while it lives.
class DarkPalette {
public:
    DarkPalette() : saved_(QApplication::palette())
    {
        QPalette dark;
        const QColor window(45, 45, 48);
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            dark.setColor(group, QPalette::Window, window);
            dark.setColor(group, QPalette::WindowText, QColor(230, 230, 230));
            dark.setColor(group, QPalette::Base, QColor(30, 30, 30));
            dark.setColor(group, QPalette::AlternateBase, window);
            dark.setColor(group, QPalette::Text, QColor(230, 230, 230));
            dark.setColor(group, QPalette::Button, window);
            dark.setColor(group, QPalette::ButtonText, QColor(230, 230, 230));
            dark.setColor(group, QPalette::ToolTipBase, window);
            dark.setColor(group, QPalette::ToolTipText, QColor(230, 230, 230));
            dark.setColor(group, QPalette::Light, QColor(80, 80, 80));
            dark.setColor(group, QPalette::Midlight, QColor(65, 65, 65));
            dark.setColor(group, QPalette::Mid, QColor(35, 35, 35));
            dark.setColor(group, QPalette::Dark, QColor(20, 20, 20));
            dark.setColor(group, QPalette::Shadow, Qt::black);
        }
        QApplication::setPalette(dark);
    }
    ~DarkPalette() { QApplication::setPalette(saved_); }
    DarkPalette(const DarkPalette&) = delete;
    DarkPalette& operator=(const DarkPalette&) = delete;

private:
    QPalette saved_;
};
