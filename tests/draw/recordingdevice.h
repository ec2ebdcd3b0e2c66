// A paint device that records the texts drawn on it: each text item with its
// base-line position and its font, in drawing order. Everything else drawn
// (the white clearing of the page) is counted, not drawn.
#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QString>
#include <QTextItem>
#include <climits>
#include <memory>
#include <ostream>
#include <vector>

// GoogleTest prints positions as numbers in its failure messages.
inline void PrintTo(const QPointF& point, std::ostream* os)
{
    *os << '(' << point.x() << ", " << point.y() << ')';
}

struct DrawnText {
    QString text;
    QPointF baseline;
    QFont font;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) { }

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override { }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { }
    void drawRects(const QRectF*, int rectCount) override { filledRects += rectCount; }
    void drawRects(const QRect*, int rectCount) override { filledRects += rectCount; }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        texts.push_back({item.text(), p, item.font()});
    }
    Type type() const override { return QPaintEngine::User; }

    std::vector<DrawnText> texts;
    int filledRects = 0;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width, int height, int dpi = 96)
        : width_(width), height_(height), dpi_(dpi), engine_(std::make_unique<RecordingEngine>())
    {
    }
    ~RecordingDevice() override = default;

    QPaintEngine* paintEngine() const override { return engine_.get(); }
    RecordingEngine& engine() { return *engine_; }
    const std::vector<DrawnText>& texts() const { return engine_->texts; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return width_;
        case PdmHeight:
            return height_;
        case PdmWidthMM:
            return width_ * 254 / (10 * dpi_);
        case PdmHeightMM:
            return height_ * 254 / (10 * dpi_);
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi_;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    int width_;
    int height_;
    int dpi_;
    std::unique_ptr<RecordingEngine> engine_;
};
