#include "gui/TileCoverageView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veldra::gui {
namespace {

constexpr double Padding = 0.04;   // of the area's extent, around the tiles
constexpr double SmallestSpan = 1e-4;  // degrees, so that a degenerate area still has a size

double degrees(std::int32_t units) { return formats::mapUnitsToDegrees(units); }

// The smallest step of 1, 2 or 5 times a power of ten that divides `span`
// into at most `most` parts.
double tickStep(double span, int most) {
    const double rough = span / std::max(most, 1);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= rough) return factor * power;
    return 10 * power;
}

// "47.25°N", with as many decimals as the step needs.
QString tickLabel(double value, double step, char positive, char negative) {
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 6);
    const char hemisphere = value < -1e-12 ? negative : (value > 1e-12 ? positive : ' ');
    return QString::number(std::fabs(value), 'f', decimals) + QChar(0x00B0) + QLatin1Char(hemisphere);
}

}  // namespace

struct TileCoverageView::Frame {
    double north, south, west, east;  // the area shown, in degrees
    QRectF plot;                      // where it lies in the widget

    double x(double longitude) const { return plot.left() + (longitude - west) / (east - west) * plot.width(); }
    double y(double latitude) const { return plot.top() + (north - latitude) / (north - south) * plot.height(); }
    QRectF rect(const formats::MapBounds& b) const {
        return QRectF(QPointF(x(degrees(b.west)), y(degrees(b.north))), QPointF(x(degrees(b.east)), y(degrees(b.south))))
            .normalized();
    }
};

TileCoverageView::TileCoverageView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void TileCoverageView::setTiles(std::vector<CoverageTile> tiles) {
    tiles_ = std::move(tiles);
    highlighted_ = -1;
    update();
}

void TileCoverageView::highlight(int tile) {
    highlighted_ = tile >= 0 && tile < static_cast<int>(tiles_.size()) ? tile : -1;
    update();
}

int TileCoverageView::drawnTileCount() const {
    return static_cast<int>(std::count_if(tiles_.begin(), tiles_.end(), [](const CoverageTile& t) { return t.bounds; }));
}

QSize TileCoverageView::sizeHint() const {
    const int line = fontMetrics().height();
    return {line * 18, line * 14};
}

QSize TileCoverageView::minimumSizeHint() const {
    const int line = fontMetrics().height();
    return {line * 10, line * 8};
}

std::optional<TileCoverageView::Frame> TileCoverageView::frame() const {
    std::optional<formats::MapBounds> all;
    for (const CoverageTile& tile : tiles_)
        if (tile.bounds) all = all ? formats::unite(*all, *tile.bounds) : *tile.bounds;
    if (!all) return std::nullopt;
    double north = degrees(all->north), south = degrees(all->south), west = degrees(all->west),
           east = degrees(all->east);
    const double latitudePad = std::max((north - south) * Padding, SmallestSpan);
    const double longitudePad = std::max((east - west) * Padding, SmallestSpan);
    north += latitudePad, south -= latitudePad, east += longitudePad, west -= longitudePad;

    // Room for the latitude labels on the left and the longitude labels below.
    const QFontMetrics metrics = fontMetrics();
    const double left = metrics.horizontalAdvance("888.8888\u00B0N") + metrics.height() / 2.0;
    const double below = metrics.height() * 1.6;
    const double right = metrics.horizontalAdvance("888.8888\u00B0E") / 2.0;
    const QRectF room = QRectF(rect()).adjusted(left, metrics.height() * 0.8, -right, -below);
    if (room.width() <= 1 || room.height() <= 1) return std::nullopt;

    // A degree of longitude is shorter than one of latitude by the cosine of the latitude.
    const double shrink = std::max(std::cos((north + south) / 2 * std::numbers::pi / 180), 0.05);
    const double scale = std::min(room.width() / ((east - west) * shrink), room.height() / (north - south));
    // The area grows in its short direction until it fills the room: the
    // tiles stay to scale and in the middle, and both axes get their ticks.
    const double moreLongitude = (room.width() / scale / shrink - (east - west)) / 2;
    const double moreLatitude = (room.height() / scale - (north - south)) / 2;
    return Frame{north + moreLatitude, south - moreLatitude, west - moreLongitude, east + moreLongitude, room};
}

void TileCoverageView::drawTicks(QPainter& painter, const Frame& frame) const {
    const QFontMetrics metrics = fontMetrics();
    const QColor grid = palette().color(QPalette::Mid);
    const QColor text = palette().color(QPalette::Text);
    const double tick = metrics.height() / 3.0;

    const double latitudeStep =
        tickStep(frame.north - frame.south, static_cast<int>(frame.plot.height() / (metrics.height() * 2.5)));
    for (double latitude = std::ceil(frame.south / latitudeStep) * latitudeStep; latitude <= frame.north;
         latitude += latitudeStep) {
        const double y = frame.y(latitude);
        painter.setPen(QPen(grid, 0, Qt::DotLine));
        painter.drawLine(QPointF(frame.plot.left(), y), QPointF(frame.plot.right(), y));
        painter.setPen(text);
        painter.drawLine(QPointF(frame.plot.left() - tick, y), QPointF(frame.plot.left(), y));
        const QRectF box(0, y - metrics.height(), frame.plot.left() - tick * 1.5, metrics.height() * 2);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, tickLabel(latitude, latitudeStep, 'N', 'S'));
    }

    // As many longitude labels as fit side by side with a gap between them.
    const double span = frame.east - frame.west;
    double longitudeStep = span, labelWidth = 0;
    for (int most = static_cast<int>(frame.plot.width() / metrics.horizontalAdvance("8.8\u00B0E")); most >= 1; --most) {
        longitudeStep = tickStep(span, most);
        labelWidth = 1.3 * std::max(metrics.horizontalAdvance(tickLabel(frame.west, longitudeStep, 'E', 'W')),
                                    metrics.horizontalAdvance(tickLabel(frame.east, longitudeStep, 'E', 'W')));
        if (span / longitudeStep * labelWidth <= frame.plot.width()) break;
    }
    for (double longitude = std::ceil(frame.west / longitudeStep) * longitudeStep; longitude <= frame.east;
         longitude += longitudeStep) {
        const double x = frame.x(longitude);
        painter.setPen(QPen(grid, 0, Qt::DotLine));
        painter.drawLine(QPointF(x, frame.plot.top()), QPointF(x, frame.plot.bottom()));
        painter.setPen(text);
        painter.drawLine(QPointF(x, frame.plot.bottom()), QPointF(x, frame.plot.bottom() + tick));
        const QRectF box(x - labelWidth / 2, frame.plot.bottom() + tick, labelWidth, metrics.height() * 1.2);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, tickLabel(longitude, longitudeStep, 'E', 'W'));
    }
}

void TileCoverageView::paintEvent(QPaintEvent*) {
    const auto shown = frame();
    if (!shown) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawTicks(painter, *shown);

    const QColor line = palette().color(QPalette::Text);
    QColor fill = palette().color(QPalette::Highlight);
    fill.setAlpha(40);
    const QColor chosen = palette().color(QPalette::Highlight);
    const QFontMetrics metrics = fontMetrics();
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        if (!tiles_[i].bounds) continue;
        const bool highlighted = static_cast<int>(i) == highlighted_;
        const QRectF box = shown->rect(*tiles_[i].bounds);
        painter.setPen(QPen(line, 1));
        painter.setBrush(highlighted ? chosen : fill);
        painter.drawRect(box);
        // The name only where it fits inside the rectangle.
        if (metrics.horizontalAdvance(tiles_[i].name) + 4 <= box.width() && metrics.height() <= box.height()) {
            painter.setPen(highlighted ? palette().color(QPalette::HighlightedText) : line);
            painter.drawText(box, Qt::AlignCenter, tiles_[i].name);
        }
    }
}

void TileCoverageView::mousePressEvent(QMouseEvent* event) {
    const auto shown = frame();
    if (!shown || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    // Of overlapping tiles the smallest is the one meant: the larger stays reachable around it.
    int hit = -1;
    double hitArea = 0;
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        if (!tiles_[i].bounds) continue;
        const QRectF box = shown->rect(*tiles_[i].bounds);
        if (!box.contains(event->position())) continue;
        const double area = box.width() * box.height();
        if (hit < 0 || area < hitArea) hit = static_cast<int>(i), hitArea = area;
    }
    if (hit >= 0) emit tileClicked(hit);
}

}  // namespace veldra::gui
