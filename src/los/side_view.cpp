#include "side_view.h"

namespace los {

platform::Picture sideView(const Decision &d) {
    using platform::Shape;
    platform::Picture p{viewWidth, viewHeight, {}};
    Shape ground;
    ground.kind = Shape::Kind::Rectangle;
    ground.filled = true;
    ground.fill = {150, 120, 80};
    ground.x = 4;
    ground.y = 80;
    ground.width = 232;
    ground.height = 8;
    p.shapes.push_back(ground);
    Shape counter;
    counter.kind = Shape::Kind::Rectangle;
    counter.filled = counter.stroked = true;
    counter.ink = {32, 32, 32};
    counter.y = 66;
    counter.width = counter.height = 12;
    counter.x = 8;
    counter.fill = d.blocked || !d.targetHigher ? Color{255, 255, 255} : (d.seen ? green : red);
    p.shapes.push_back(counter);
    counter.x = 220;
    counter.fill = d.blocked ? red : d.targetHigher ? Color{255, 255, 255} : (d.seen ? green : red);
    p.shapes.push_back(counter);
    return p;
}

} // namespace los
