#pragma once
// Where a mapset's tiles lie: each tile's rectangle to scale, with latitude
// and longitude ticks, the selected tile highlighted; a click on a rectangle
// names its tile.

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

#include "formats/TreBounds.h"

namespace veldra::gui {

struct CoverageTile {
    std::optional<formats::MapBounds> bounds;  // nothing: the tile is not drawn
    QString name;
};

class TileCoverageView : public QWidget {
    Q_OBJECT
public:
    explicit TileCoverageView(QWidget* parent);

    void setTiles(std::vector<CoverageTile> tiles);
    // The index into the tiles given; -1 highlights none.
    void highlight(int tile);
    int highlightedTile() const { return highlighted_; }
    // How many rectangles are drawn: the tiles whose bounds are known.
    int drawnTileCount() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void tileClicked(int tile);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Frame;  // degrees to pixels for the current size
    std::optional<Frame> frame() const;
    void drawTicks(QPainter& painter, const Frame& frame) const;

    std::vector<CoverageTile> tiles_;
    int highlighted_ = -1;
};

}  // namespace veldra::gui
