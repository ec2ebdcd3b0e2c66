// A paint device that records what a painter draws on it: each call with the
// pen, brush and render hints in force, so a test can check the order and the
// look of the shapes.
#pragma once

#include <QBrush>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <vector>

struct DrawCall {
    QString what;  // "ellipse", "rect", or another primitive's name
    QRectF box;
    QPen pen;
    QBrush brush;
    bool antialiased;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) { }

    std::vector<DrawCall> calls;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override { }
    Type type() const override { return QPaintEngine::User; }

    using QPaintEngine::drawEllipse;
    using QPaintEngine::drawLines;
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;
    void drawEllipse(const QRectF& r) override { Record(QStringLiteral("ellipse"), r); }
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            Record(QStringLiteral("rect"), rects[i]);
    }
    void drawPath(const QPainterPath& path) override { Record(QStringLiteral("path"), path.boundingRect()); }
    void drawLines(const QLineF* lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Record(QStringLiteral("line"), QRectF(lines[i].p1(), lines[i].p2()));
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override
    {
        QPolygonF polygon;
        for (int i = 0; i < count; ++i)
            polygon << points[i];
        Record(QStringLiteral("polygon"), polygon.boundingRect());
    }
    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { Record(QStringLiteral("pixmap"), r); }

private:
    void Record(const QString& what, const QRectF& box)
    {
        const QPainter* p = painter();
        calls.push_back({what, box, p->pen(), p->brush(), p->testRenderHint(QPainter::Antialiasing)});
    }
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : size_(size) { }
    ~RecordingDevice() override = default;

    QPaintEngine* paintEngine() const override { return &engine_; }
    const std::vector<DrawCall>& Calls() const { return engine_.calls; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return size_.width() * 254 / 960;
        case PdmHeightMM:
            return size_.height() * 254 / 960;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            break;
        }
        return 0;
    }

private:
    QSize size_;
    mutable RecordingEngine engine_;
};
