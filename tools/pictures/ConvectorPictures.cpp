#include "ConvectorPictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tepa::pictures {
namespace {

const QColor Ink(0x1b, 0x3a, 0x5b);     // type name, logo
const QColor Caption(0x49, 0x50, 0x57); // line under the type name
const QColor Frame(0xce, 0xd4, 0xda);
const QColor Steel(0x49, 0x50, 0x57); // trench walls, grilles, housings
const QColor Concrete(0xee, 0xf0, 0xf2);
const QColor ConcreteHatch(0xc3, 0xc9, 0xcf);
const QColor TrenchInside(0xfb, 0xfc, 0xfd);
const QColor Glass(0xd6, 0xec, 0xfb);
const QColor FinFill(0xdc, 0xe2, 0xe7);
const QColor FinLine(0x86, 0x90, 0x9a);
const QColor Copper(0xc0, 0x6a, 0x2b);
const QColor TubeInside(0xff, 0xf4, 0xe6);
const QColor HeatingPipe(0xd6, 0x33, 0x1c);
const QColor CoolingPipe(0x1c, 0x6e, 0xc4);
const QColor WarmAir(0xe0, 0x4b, 0x1a);
const QColor CoolAir(0x22, 0x78, 0xcf);
const QColor FreshAir(0x0c, 0x8f, 0x84);
const QColor FreshAirFill(0xe3, 0xf8, 0xf4);
const QColor Condensate(0x8c, 0xc8, 0xf5);
const QColor Housing(0xf4, 0xf6, 0xf8);
const QColor Greyed(0x9a, 0xa3, 0xab);

// Type picture layout: the name and a caption in the top band, the section below it. The
// finished floor sits at FloorY; the slab is drawn down to SlabBottom.
constexpr double FloorY = 96;
constexpr double SlabBottom = 177;
constexpr double WindowRight = 14; // glass pane at the left edge: the window side of a trench

QFont pixelFont(int pixelSize, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QImage blankImage(int width, int height, const QColor& fill)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void beginPainting(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

// Stroke with an arrow head at the path's end, pointing along its last tangent.
void drawFlow(QPainter& p, const QPainterPath& path, const QColor& colour, double width = 2.4)
{
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    // angleAtPercent counts counter-clockwise with y up; the image's y axis points down.
    QTransform toTip;
    toTip.translate(path.pointAtPercent(1).x(), path.pointAtPercent(1).y());
    toTip.rotate(-path.angleAtPercent(1));
    const double length = 3.6 * width;
    const double halfWidth = 1.9 * width;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(toTip.map(QPolygonF({{0, 0}, {-length, -halfWidth}, {-length, halfWidth}})));
    p.restore();
}

QPainterPath straight(QPointF from, QPointF to)
{
    QPainterPath path(from);
    path.lineTo(to);
    return path;
}

// Warm air leaving upwards: a gentle S towards the window side.
QPainterPath rising(QPointF from, double topY, double drift)
{
    QPainterPath path(from);
    const double h = from.y() - topY;
    path.cubicTo(from.x(), from.y() - 0.45 * h, from.x() + drift, from.y() - 0.55 * h, from.x() + drift,
                 topY);
    return path;
}

void drawFrame(QPainter& p, const QImage& image)
{
    p.setPen(QPen(Frame, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, image.width() - 1, image.height() - 1));
}

// The type name in large letters and what the series is in one line below; the caption's
// font shrinks until it fits the width.
void drawTitle(QPainter& p, const QString& name, const QString& caption)
{
    constexpr double left = 10, width = TypePictureWidth - 20;
    const QFont nameFont = pixelFont(22, true);
    p.setFont(nameFont);
    p.setPen(Ink);
    const QString shownName = QFontMetricsF(nameFont).elidedText(name, Qt::ElideRight, width);
    p.drawText(QRectF(left, 3, width, 28), Qt::AlignLeft | Qt::AlignVCenter, shownName);

    QFont captionFont = pixelFont(11);
    for (int size = 11; size > 8 && QFontMetricsF(captionFont).horizontalAdvance(caption) > width; --size)
        captionFont = pixelFont(size - 1);
    p.setFont(captionFont);
    p.setPen(Caption);
    p.drawText(QRectF(left, 29, width, 15), Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetricsF(captionFont).elidedText(caption, Qt::ElideRight, width));
}

void drawWindowPane(QPainter& p)
{
    p.setPen(QPen(Steel, 1));
    p.setBrush(Glass);
    p.drawRect(QRectF(WindowRight - 6, 50, 6, FloorY - 50));
    p.drawLine(QPointF(WindowRight - 3, 50), QPointF(WindowRight - 3, FloorY));
}

struct Trench
{
    double left = 0, right = 0, depth = 0;
    double bottom() const { return FloorY + depth; }
    double width() const { return right - left; }
};

void drawFloorWithTrench(QPainter& p, const Trench& t)
{
    const QRectF slab(1, FloorY, TypePictureWidth - 2, SlabBottom - FloorY);
    p.fillRect(slab, Concrete);
    p.fillRect(slab, QBrush(ConcreteHatch, Qt::BDiagPattern));
    p.fillRect(QRectF(t.left, FloorY, t.width(), t.depth), TrenchInside);

    p.setPen(QPen(Steel, 1.5));
    p.drawLine(QPointF(1, FloorY), QPointF(t.left, FloorY));
    p.drawLine(QPointF(t.right, FloorY), QPointF(TypePictureWidth - 1, FloorY));
    p.setPen(QPen(Steel, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolyline(
        QPolygonF({{t.left, FloorY}, {t.left, t.bottom()}, {t.right, t.bottom()}, {t.right, FloorY}}));
}

// Grille bars flush with the floor across the trench opening.
void drawGrille(QPainter& p, double left, double right, double y)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Steel);
    for (double x = left + 3; x + 4 <= right - 2; x += 9)
        p.drawRect(QRectF(x, y - 4, 4, 6));
}

// Finned tube block: fins as thin vertical plates (the air flows between them), the tubes
// as copper rings. A tall block gets two tube rows; with no tubes the caller draws its own.
void drawCoil(QPainter& p, const QRectF& r, int tubesPerRow)
{
    p.setPen(QPen(FinLine, 1));
    p.setBrush(FinFill);
    p.drawRect(r);
    p.setPen(QPen(FinLine, 0.7));
    for (double x = r.left() + 3; x < r.right() - 1; x += 3)
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));

    if (tubesPerRow == 0)
        return;
    const int rows = r.height() > 30 ? 2 : 1;
    const double radius = std::min(5.0, r.height() / (3.0 * rows));
    p.setPen(QPen(Copper, 2));
    p.setBrush(TubeInside);
    for (int row = 0; row < rows; ++row)
        for (int i = 0; i < tubesPerRow; ++i)
            p.drawEllipse(QPointF(r.left() + r.width() * (i + 0.5) / tubesPerRow,
                                  r.top() + r.height() * (row + 0.5) / rows),
                          radius, radius);
}

// Cross-flow fan: forward-curved blades on a ring, the hub, and the guide plate below.
void drawFanWheel(QPainter& p, QPointF c, double r)
{
    p.setPen(QPen(Steel, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r - 4, c.y() - r - 4, 2 * r + 8, 2 * r + 8), 200 * 16, 150 * 16);

    p.setPen(QPen(Ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    constexpr int blades = 16;
    for (int i = 0; i < blades; ++i) {
        const double a = 2 * std::numbers::pi * i / blades;
        auto at = [&](double radius, double angle) {
            return QPointF(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        };
        QPainterPath blade(at(0.6 * r, a));
        blade.quadTo(at(0.88 * r, a + 0.05), at(r, a + 0.32));
        p.drawPath(blade);
    }
    p.setPen(QPen(Ink, 0.8));
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(Steel);
    p.drawEllipse(c, 0.28 * r, 0.28 * r);
}

QString captionWithPipes(const QString& caption, int pipeCount)
{
    return pipeCount ? caption + QStringLiteral(", %1-Leiter").arg(pipeCount) : caption;
}

// Free convection in a trench: room air falls on the room side, passes under the finned tube
// at the window side, is warmed and rises in front of the window.
void drawFreeTrench(QPainter& p, const Trench& t, double coilHeight)
{
    drawWindowPane(p);
    drawFloorWithTrench(p, t);
    const QRectF coil(t.left + 10, FloorY + 8, 0.46 * t.width(), coilHeight);
    drawCoil(p, coil, coil.width() > 70 ? 4 : 3);
    drawGrille(p, t.left, t.right, FloorY);

    const double inX = t.right - 18;
    const double runY = (coil.bottom() + t.bottom()) / 2 + 2;
    QPainterPath cool(QPointF(inX, FloorY - 36));
    cool.lineTo(inX, runY - 8);
    cool.quadTo(inX, runY, inX - 8, runY);
    cool.lineTo(coil.center().x() + 8, runY);
    cool.quadTo(coil.center().x(), runY, coil.center().x(), coil.bottom() + 5);
    drawFlow(p, cool, CoolAir);

    for (double f : {0.3, 0.7}) {
        const double x = coil.left() + f * coil.width();
        drawFlow(p, rising(QPointF(x, coil.top() + 2), 54, -10), WarmAir);
    }
}

// Forced convection in a trench: the fan on the room side draws room air down and blows it
// under the coil at the window side.
void drawFanTrench(QPainter& p, const Trench& t, double coilHeight, double fanRadius)
{
    drawWindowPane(p);
    drawFloorWithTrench(p, t);
    const QRectF coil(t.left + 10, FloorY + 8, 0.46 * t.width(), coilHeight);
    drawCoil(p, coil, 4);
    const QPointF fan(t.right - fanRadius - 14, t.bottom() - fanRadius - 9);
    drawFanWheel(p, fan, fanRadius);
    drawGrille(p, t.left, t.right, FloorY);

    drawFlow(p, straight({fan.x(), FloorY - 34}, {fan.x(), fan.y() - fanRadius - 6}), CoolAir);
    const double runY = std::max(fan.y() + 2, coil.bottom() + 16);
    QPainterPath blown(QPointF(fan.x() - fanRadius - 7, runY));
    blown.lineTo(coil.center().x() + 8, runY);
    blown.quadTo(coil.center().x(), runY, coil.center().x(), coil.bottom() + 3);
    drawFlow(p, blown, CoolAir);

    for (double f : {0.3, 0.7}) {
        const double x = coil.left() + f * coil.width();
        drawFlow(p, rising(QPointF(x, coil.top() + 2), 54, -10), WarmAir);
    }
}

// Fan convector for heating and cooling: the fan blows through an upright coil standing in
// the condensate tray; the air rises in the channel at the window side, warm or cool.
void drawFanCoil(QPainter& p, const Trench& t, double fanRadius, int pipeCount)
{
    drawWindowPane(p);
    drawFloorWithTrench(p, t);
    const QRectF coil(t.left + 44, FloorY + 10, 26, t.depth - 30);
    drawCoil(p, coil, 0);

    // Condensate tray with water and a drop running off the coil.
    const QRectF tray(coil.left() - 6, coil.bottom() + 3, coil.width() + 12, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(Condensate);
    p.drawRect(QRectF(tray.left() + 1, tray.bottom() - 4, tray.width() - 2, 4));
    p.setPen(QPen(Steel, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({tray.topLeft(), tray.bottomLeft(), tray.bottomRight(), tray.topRight()}));
    QPainterPath drop(QPointF(coil.right() + 2, coil.bottom() - 1));
    drop.cubicTo(coil.right() + 5, coil.bottom() + 4, coil.right() + 3, coil.bottom() + 6, coil.right() + 2,
                 coil.bottom() + 6);
    drop.cubicTo(coil.right() + 1, coil.bottom() + 6, coil.right() - 1, coil.bottom() + 4, coil.right() + 2,
                 coil.bottom() - 1);
    p.setPen(Qt::NoPen);
    p.setBrush(CoolingPipe);
    p.drawPath(drop);

    // Pipe connections on the coil: a two-pipe coil carries heating or cooling water in one
    // circuit, a four-pipe coil has a heating and a cooling circuit.
    const int pipes = pipeCount ? pipeCount : 2;
    for (int i = 0; i < pipes; ++i) {
        const QColor colour = pipes == 4 ? (i < 2 ? HeatingPipe : CoolingPipe) : Copper;
        const QPointF at(coil.center().x(), coil.top() + coil.height() * (i + 0.5) / pipes);
        p.setPen(QPen(colour, 2));
        p.setBrush(TubeInside);
        p.drawEllipse(at, 4.5, 4.5);
    }

    const QPointF fan(t.right - fanRadius - 14, coil.center().y());
    drawFanWheel(p, fan, fanRadius);
    drawGrille(p, t.left, t.right, FloorY);

    drawFlow(p, straight({fan.x(), FloorY - 34}, {fan.x(), fan.y() - fanRadius - 6}), CoolAir);
    drawFlow(p, straight({fan.x() - fanRadius - 7, fan.y()}, {coil.right() + 4, fan.y()}), CoolAir);
    const double channel = t.left + 20;
    // The upper stream turns up nearer the coil so the two do not cross.
    for (const auto& [offset, colour] : {std::pair{-4.0, WarmAir}, std::pair{4.0, CoolAir}}) {
        const double x = channel - offset;
        const double y = fan.y() + offset;
        QPainterPath out(QPointF(coil.left() - 2, y));
        out.lineTo(x + 8, y);
        out.quadTo(x, y, x, y - 8);
        out.lineTo(x, 54);
        drawFlow(p, out, colour, 2.1);
    }
}

// Primary-air unit: fresh air from the duct leaves the nozzles at high speed and draws room
// air in behind it; the mixture passes the coil and rises in front of the window.
void drawPrimaryAirUnit(QPainter& p, const Trench& t, int nozzles)
{
    drawWindowPane(p);
    drawFloorWithTrench(p, t);
    const QRectF coil(t.left + 10, FloorY + 8, 0.48 * t.width(), 20);
    drawCoil(p, coil, 4);

    const QRectF plenum(coil.left() + 4, t.bottom() - 20, coil.width() - 8, 14);
    p.setPen(QPen(FreshAir, 1.6));
    p.setBrush(FreshAirFill);
    p.drawRoundedRect(plenum, 3, 3);
    // Duct flow into the drawing plane.
    const QPointF mark(plenum.left() + 9, plenum.center().y());
    p.drawEllipse(mark, 4.5, 4.5);
    p.drawLine(mark + QPointF(-3, -3), mark + QPointF(3, 3));
    p.drawLine(mark + QPointF(-3, 3), mark + QPointF(3, -3));

    const double firstX = plenum.left() + 24;
    const double step = (plenum.right() - 8 - firstX) / std::max(1, nozzles - 1);
    for (int i = 0; i < nozzles; ++i) {
        const double x = firstX + i * step;
        p.setPen(QPen(FreshAir, 1));
        p.setBrush(FreshAir);
        p.drawPolygon(QPolygonF({{x - 3.5, plenum.top()},
                                 {x + 3.5, plenum.top()},
                                 {x + 1.5, plenum.top() - 5},
                                 {x - 1.5, plenum.top() - 5}}));
        drawFlow(p, straight({x, plenum.top() - 6}, {x, coil.bottom() + 4}), FreshAir, 1.5);
    }

    const double inX = t.right - 18;
    const double runY = (coil.bottom() + plenum.top()) / 2;
    QPainterPath induced(QPointF(inX, FloorY - 36));
    induced.lineTo(inX, runY - 8);
    induced.quadTo(inX, runY, inX - 8, runY);
    induced.lineTo(plenum.right() + 2, runY);
    drawFlow(p, induced, CoolAir);
    drawGrille(p, t.left, t.right, FloorY);

    for (double f : {0.3, 0.7}) {
        const double x = coil.left() + f * coil.width();
        drawFlow(p, rising(QPointF(x, coil.top() + 2), 54, -10), WarmAir);
    }
}

// Fan unit with three fixed speeds: room air in on one side, through fan and coil, out on
// the other; the three stages as bars beside it.
void drawFixedStageUnit(QPainter& p)
{
    const QRectF housing(48, 58, 128, 86);
    p.setPen(QPen(Steel, 2));
    p.setBrush(Housing);
    p.drawRoundedRect(housing, 6, 6);
    const QRectF coil(housing.left() + 22, housing.top() + 10, 24, housing.height() - 20);
    drawCoil(p, coil, 2);
    const QPointF fan(housing.right() - 34, housing.center().y());
    drawFanWheel(p, fan, 17);

    p.setPen(Qt::NoPen);
    p.setBrush(Steel);
    for (double y = housing.top() + 12; y < housing.bottom() - 10; y += 9) {
        p.drawRect(QRectF(housing.left() - 3, y, 6, 4));
        p.drawRect(QRectF(housing.right() - 3, y, 6, 4));
    }

    drawFlow(p, straight({228, fan.y()}, {housing.right() + 7, fan.y()}), CoolAir);
    drawFlow(p, straight({fan.x() - 24, fan.y()}, {coil.right() + 4, fan.y()}), CoolAir);
    for (double dy : {-18.0, 0.0, 18.0})
        drawFlow(p, straight({housing.left() - 6, fan.y() + dy}, {10, fan.y() + dy}), WarmAir);

    // Stage bars under the unit.
    p.setFont(pixelFont(10, true));
    for (int stage = 1; stage <= 3; ++stage) {
        const double x = 92 + (stage - 1) * 20;
        const double h = 4.0 + 4.0 * stage;
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawRect(QRectF(x, 164 - h, 10, h));
        p.setPen(Ink);
        p.drawText(QRectF(x - 4, 164, 18, 13), Qt::AlignCenter, QString::number(stage));
    }
}

// A cabinet convector with its coil at the bottom, for names of no known series and, greyed,
// for the default picture.
void drawCabinet(QPainter& p, bool greyed)
{
    const QRectF housing(62, 70, 116, 96);
    p.setPen(QPen(greyed ? Greyed : Steel, 2));
    p.setBrush(Housing);
    p.drawRoundedRect(housing, 6, 6);
    const QRectF coil(housing.left() + 10, housing.bottom() - 26, housing.width() - 20, 16);
    if (greyed) {
        p.setPen(QPen(Greyed, 1));
        p.setBrush(QColor(0xe9, 0xec, 0xef));
        p.drawRect(coil);
        p.setPen(QPen(Greyed, 0.7));
        for (double x = coil.left() + 3; x < coil.right() - 1; x += 3)
            p.drawLine(QPointF(x, coil.top()), QPointF(x, coil.bottom()));
    } else {
        drawCoil(p, coil, 4);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(greyed ? Greyed : Steel);
    for (double x = housing.left() + 12; x + 5 < housing.right() - 8; x += 10)
        p.drawRect(QRectF(x, housing.top() - 2, 5, 5));
    if (!greyed)
        for (double f : {0.3, 0.5, 0.7})
            drawFlow(p, rising(QPointF(housing.left() + f * housing.width(), housing.top() - 4), 50, 0),
                     WarmAir);
}

Trench freeTrenchFor(Drawing drawing)
{
    switch (drawing) {
    case Drawing::FreeTrenchMedium:
        return {52, 188, 56};
    case Drawing::FreeTrenchLarge:
        return {24, 226, 76};
    default:
        return {28, 212, 74};
    }
}

} // namespace

QImage drawTypePicture(std::string_view typeName)
{
    const PictureSpec look = pictureSpecFor(typeName);
    const QString name = QString::fromUtf8(typeName.data(), static_cast<qsizetype>(typeName.size()));
    QImage image = blankImage(TypePictureWidth, TypePictureHeight, Qt::white);
    QPainter p(&image);
    beginPainting(p);

    // Sizes within a series: W1..W4 differ in fin height, WF1..WF3 in trench depth and fan,
    // WNF1..WNF3 in the number of nozzles.
    const int n = look.sizeNumber;
    QString caption;
    switch (look.drawing) {
    case Drawing::FreeTrench:
    case Drawing::FreeTrenchMedium:
    case Drawing::FreeTrenchLarge: {
        const Trench t = freeTrenchFor(look.drawing);
        const double coilHeight = n >= 1 && n <= 4 ? 8.0 + 7.0 * n : (t.depth > 60 ? 24 : 18);
        drawFreeTrench(p, t, coilHeight);
        if (n >= 1 && n <= 4)
            caption = QStringLiteral("freie Konvektion, Rippenhöhe %1").arg(n);
        else if (look.drawing == Drawing::FreeTrench)
            caption = QStringLiteral("Bodenkanal, freie Konvektion");
        else
            caption = QStringLiteral("freie Konvektion");
        break;
    }
    case Drawing::FanTrench: {
        const int size = n >= 1 && n <= 3 ? n : 2;
        drawFanTrench(p, Trench{28, 212, 52.0 + 7 * size}, 20, 11.0 + 2 * size);
        caption = QStringLiteral("Bodenkanal mit Querstromlüfter");
        break;
    }
    case Drawing::SlimFanTrench:
        drawFanTrench(p, Trench{28, 212, 46}, 12, 9);
        caption = QStringLiteral("flacher Bodenkanal mit Lüfter");
        break;
    case Drawing::FanCoil:
        drawFanCoil(p, Trench{26, 214, 70}, 15, look.pipeCount);
        caption = captionWithPipes(QStringLiteral("Lüfter, Heizen und Kühlen"), look.pipeCount);
        break;
    case Drawing::FanCoilLowSpeed:
        drawFanCoil(p, Trench{26, 214, 78}, 19, look.pipeCount);
        caption = captionWithPipes(QStringLiteral("Heizen/Kühlen, langsamer Lüfter"), look.pipeCount);
        break;
    case Drawing::PrimaryAir:
        drawPrimaryAirUnit(p, Trench{26, 214, 74}, n >= 1 && n <= 3 ? n + 2 : 4);
        caption = QStringLiteral("Primärluft mit Induktion");
        break;
    case Drawing::FixedStageFan:
        drawFixedStageUnit(p);
        caption = QStringLiteral("Lüftergerät, drei feste Stufen");
        break;
    case Drawing::Generic:
        drawCabinet(p, false);
        caption = QStringLiteral("Konvektor");
        break;
    }
    drawTitle(p, name, caption);
    drawFrame(p, image);
    return image;
}

QImage drawDefaultPicture()
{
    QImage image = blankImage(TypePictureWidth, TypePictureHeight, Qt::white);
    QPainter p(&image);
    beginPainting(p);
    drawCabinet(p, true);
    p.setFont(pixelFont(44, true));
    p.setPen(Greyed);
    p.drawText(QRectF(62, 70, 116, 68), Qt::AlignCenter, QStringLiteral("?"));
    p.setFont(pixelFont(20, true));
    p.setPen(Caption);
    p.drawText(QRectF(10, 8, TypePictureWidth - 20, 34), Qt::AlignCenter, QStringLiteral("kein Bild"));
    drawFrame(p, image);
    return image;
}

QImage drawLogo()
{
    QImage image = blankImage(LogoWidth, LogoHeight, Qt::white);
    QPainter p(&image);
    beginPainting(p);

    // Symbol: a finned heater with warm air rising from it.
    const QRectF badge(10, 10, 80, 80);
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawRoundedRect(badge, 14, 14);
    const QRectF fins(22, 64, 56, 14);
    p.setBrush(Qt::white);
    p.drawRoundedRect(fins, 2, 2);
    p.setPen(QPen(Ink, 1.6));
    for (double x = fins.left() + 5; x < fins.right() - 2; x += 5)
        p.drawLine(QPointF(x, fins.top() + 2), QPointF(x, fins.bottom() - 2));
    p.setPen(QPen(QColor(0xf0, 0x8c, 0x00), 4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (double x : {34.0, 50.0, 66.0}) {
        QPainterPath wave(QPointF(x, 56));
        wave.cubicTo(x - 8, 46, x + 8, 36, x, 22);
        p.drawPath(wave);
    }

    QFont letters = pixelFont(52, true);
    letters.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(letters);
    p.setPen(Ink);
    p.drawText(QRectF(104, 4, 192, 74), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ORVA"));
    p.setPen(QPen(QColor(0xf0, 0x8c, 0x00), 3, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(107, 82), QPointF(288, 82));
    return image;
}

QImage drawBackground()
{
    QImage image = blankImage(BackgroundWidth, BackgroundHeight, Qt::white);
    QPainter p(&image);
    beginPainting(p);

    QLinearGradient sky(0, 0, BackgroundWidth * 0.3, BackgroundHeight);
    sky.setColorAt(0, QColor(0xf6, 0xf9, 0xfc));
    sky.setColorAt(1, QColor(0xdc, 0xe5, 0xee));
    p.fillRect(image.rect(), sky);

    // Drawing-paper grid: fine lines every 20 px, stronger every 100 px.
    for (int step : {20, 100}) {
        p.setPen(QPen(QColor(0x5c, 0x7c, 0x9a, step == 20 ? 12 : 26), 1));
        for (int x = step; x < BackgroundWidth; x += step)
            p.drawLine(QPointF(x + 0.5, 0), QPointF(x + 0.5, BackgroundHeight));
        for (int y = step; y < BackgroundHeight; y += step)
            p.drawLine(QPointF(0, y + 0.5), QPointF(BackgroundWidth, y + 0.5));
    }

    // Faint section of a trench convector in the lower right, with warm air rising.
    const QColor line(0x4a, 0x6c, 0x8c, 46);
    p.setPen(QPen(line, 2));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(380, 500), QPointF(800, 500));
    p.drawPolyline(QPolygonF({{460, 500}, {460, 580}, {760, 580}, {760, 500}}));
    const QRectF coil(480, 512, 150, 36);
    p.drawRect(coil);
    p.setPen(QPen(line, 1));
    for (double x = coil.left() + 6; x < coil.right(); x += 6)
        p.drawLine(QPointF(x, coil.top()), QPointF(x, coil.bottom()));
    p.setPen(QPen(line, 2));
    for (double x = coil.left() + 25; x < coil.right(); x += 50)
        p.drawEllipse(QPointF(x, coil.center().y()), 8, 8);
    p.setPen(QPen(QColor(0xd0, 0x6a, 0x3a, 40), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const double x = coil.left() + 20 + 36 * i;
        QPainterPath air(QPointF(x, 490));
        air.cubicTo(x - 30, 400, x + 40, 300, x - 20, 160 + 25 * i);
        p.drawPath(air);
    }
    return image;
}

} // namespace tepa::pictures
