// The picture of a sighting: the side view that the rule book draws, made
// from what the rule decided, so that no build can draw what the rule did not
// decide. Firer on the left, target on the right, the hexes between them as
// equal columns along the ground and the heights as levels; the obstacle's
// shadow, the blind hexes, shaded on the lower end's side; the numbers the
// rule used at the things they belong to. A diagram of the rule, not a
// projection: the shaded hexes are the count, whatever a ruler laid on the
// picture would say. Stretches and heights too long to draw to scale are
// drawn shortened, with a break mark and their number.
#pragma once

#include "line_of_sight.h"

namespace los {

// The picture's box, in its own pixels.
inline constexpr int viewWidth = 240, viewHeight = 100;

// Its fills: the board's hexes in sand, the blind ones in grey, the obstacle
// in earth, the higher end's counter pale; the lower end's counter takes the
// verdict's colour.
inline constexpr Color hex{236, 224, 190}, blindHex{118, 118, 118}, obstacle{160, 122, 76},
    higherEnd{232, 232, 232};

platform::Picture sideView(const Decision &d);

} // namespace los
