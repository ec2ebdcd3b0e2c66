#include "Unit18.h"

#include "Unit20.h"
#include "platform.h"
#include "wiring.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

QColor Opaque(const ShapeColour& c)
{
    return QColor(c.red, c.green, c.blue);
}

}  // namespace

TSCRSaver::TSCRSaver(WindowContext& context) : QDialog(nullptr), context_(context), platform_(context.platform)
{
    setObjectName(QStringLiteral("SCRSaver"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("SCREEN SAVER"));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
    ClearCanvas();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1500);
    connect(Timer1, &QTimer::timeout, this, [this] { RunCommand(platform_, [this] { FormDblClick(); }); });
}

void TSCRSaver::ClearCanvas()
{
    canvas_ = QImage(size(), QImage::Format_RGB32);
    canvas_.fill(Qt::black);
}

void TSCRSaver::Run()
{
    ClearCanvas();
    pressed_ = false;
    Timer1->start();
    platform_.RunModal(*this);
}

void TSCRSaver::FormDblClick()
{
    TForm20* options = context_.windows.form20;
    const ScreenSaverShapes shapes = options ? options->Shapes() : ScreenSaverShapes{};
    const RandomNumbers random = [this](int bound) { return platform_.Random(bound); };
    const DrawingStep step = plan_.NextStep(canvas_.width(), canvas_.height(), shapes, random);
    {
        QPainter painter(&canvas_);
        PaintStep(painter, step, canvas_.size());
    }
    update();
}

void TSCRSaver::PaintStep(QPainter& painter, const DrawingStep& step, const QSize& area)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPen pen(Opaque(step.penColour), step.penWidth, Qt::SolidLine, Qt::RoundCap);
    const QBrush brush(Opaque(step.brushColour), Qt::SolidPattern);
    if (step.wipe)
        painter.fillRect(QRect(QPoint(0, 0), area), Qt::black);
    for (const PlannedShape& shape : step.shapes) {
        const QRectF box(shape.box.left, shape.box.top, shape.box.width, shape.box.height);
        switch (shape.kind) {
        case ShapeKind::FilledEllipse:
            painter.setPen(Qt::NoPen);
            painter.setBrush(brush);
            painter.drawEllipse(box);
            break;
        case ShapeKind::EllipseOutline:
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(box);
            break;
        case ShapeKind::RectangleOutline:
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box);
            break;
        case ShapeKind::FilledRectangle:
            painter.setPen(Qt::NoPen);
            painter.setBrush(brush);
            painter.drawRect(box);
            break;
        }
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
}

void TSCRSaver::FormClick()
{
    close();
}

void TSCRSaver::FormKeyPress()
{
    close();
}

void TSCRSaver::FormClose()
{
    Timer1->stop();
    plan_.Reset();
}

void TSCRSaver::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TSCRSaver::keyPressEvent(QKeyEvent* event)
{
    // A key that types a character (Esc, Enter, Space, letters, Ctrl with a
    // letter) ends the screen saver; arrows, function keys and the modifier
    // keys alone do not.
    if (!event->text().isEmpty() || event->key() == Qt::Key_Escape)
        FormKeyPress();
    else
        event->ignore();
}

void TSCRSaver::mousePressEvent(QMouseEvent* event)
{
    pressed_ = true;
    event->accept();
}

void TSCRSaver::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (pressed_ && rect().contains(event->position().toPoint())) {
        pressed_ = false;
        FormClick();
    }
}

void TSCRSaver::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    painter.drawImage(event->rect().topLeft(), canvas_, event->rect());
}

void TSCRSaver::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (canvas_.size() == size())
        return;
    QImage grown(size(), QImage::Format_RGB32);
    grown.fill(Qt::black);
    QPainter painter(&grown);
    painter.drawImage(0, 0, canvas_);
    painter.end();
    canvas_ = grown;
}
