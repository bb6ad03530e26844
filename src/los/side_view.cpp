#include "side_view.h"

#include "working.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace los {

namespace {

using platform::Point;
using platform::Shape;

// Dark ink on the tooltip's pale ground; the rest of the palette in the
// header.
constexpr Color ink{32, 32, 32}, faint{120, 120, 120}, sandEdge{170, 150, 108},
    shadeEdge{80, 80, 80}, earthEdge{96, 70, 40};

// The picture's layout, in its pixels: the scene between the margins; at
// the bottom the board's strip of hexes, under it a row for the two ranges
// and, unless the line is blocked, one for the count.
constexpr float margin = 4, textSize = 10, row = 12, strip = 7;
constexpr float widestColumn = 20, tallestLevel = 16, shortestLevel = 3;
// Columns at most: the longest stretches are shortened to three columns each
// until the board fits, and the tallest gaps between heights to three levels
// until a level is drawn at least shortestLevel high.
constexpr std::int64_t columns = 24, shortenedTo = 3;

// An estimate of a text's width in the dialog face at textSize, on the wide
// side: digits are 0.56 of the size, the widest signs 0.6.
float widthOf(std::string_view text) {
    float chars = 0;
    for (const char c : text)
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return chars * textSize * 0.6f + 2;
}

struct Box {
    float x, y, w, h;
    float right() const { return x + w; }
    float bottom() const { return y + h; }
    bool meets(const Box &o) const {
        return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
    }
};

// A stretch of the board, left to right: an end's hex, the obstacle's, hexes
// between them (blind or not), or a range with no place on a board.
struct Run {
    enum Kind : std::uint8_t { Firer, Obstacle, Target, Hexes, Nowhere } kind;
    std::int64_t hexes = 1; // Hexes: how many; Nowhere: the range
    bool blind = false;
    bool shortened = false;
    float x0 = 0, x1 = 0;
    std::int64_t drawn() const { return kind == Hexes ? (shortened ? shortenedTo : hexes) : 1; }
};

// The field that gives an end's height.
std::size_t heightOf(Run::Kind end) {
    return end == Run::Firer ? field::hf : field::ht;
}

class SideView {
public:
    // lift: more room above the scene than the usual two rows of numbers.
    SideView(const Decision &d, float lift) : d_(d), lift_(lift) {}
    platform::Picture draw();
    // How far the numbers would stand above the picture's box.
    float overflow() const { return overflow_; }

private:
    void lay();
    void levels();
    float level(std::int64_t v) const;
    float centre(Run::Kind kind) const;
    const Run &run(Run::Kind kind) const;
    // A counter's side, and how high the obstacle's top stands.
    float counter() const { return std::clamp(column_ - 3, 5.0f, 10.0f); }
    float obstacleTop() const { return std::min(level(d_.whole[field::ho]), stripTop_ - 2); }

    void board();
    void breakMark(float x, float y0, float y1);
    void things();
    void sight();
    void measure(float x0, float x1, float y, std::initializer_list<Box> numbers);
    void ranges();
    void heights();

    Shape &add(Shape::Kind kind) {
        Shape &s = pic_.shapes.emplace_back();
        s.kind = kind;
        return s;
    }
    void rect(const Box &b, Color fill, std::optional<Color> edge = {});
    void line(Point a, Point b, Color colour = ink, float width = 1);
    void text(const Box &b, std::string s);

    const Decision &d_;
    const float lift_;
    float overflow_ = 0;
    platform::Picture pic_{viewWidth, viewHeight, {}};
    std::vector<Run> runs_;
    float column_ = 0, stripTop_ = 0;
    // The distinct levels of the ground and the three heights, low to high,
    // and where each is drawn; a gap too tall to draw is shortened.
    std::array<std::int64_t, 4> values_{};
    std::array<float, 4> ys_{};
    std::array<bool, 4> broken_{};
    std::size_t count_ = 0;
};

void SideView::rect(const Box &b, Color fill, std::optional<Color> edge) {
    Shape &s = add(Shape::Kind::Rectangle);
    s.filled = true;
    s.fill = fill;
    s.stroked = edge.has_value();
    s.ink = edge.value_or(Color{});
    s.x = b.x;
    s.y = b.y;
    s.width = b.w;
    s.height = b.h;
}

void SideView::line(Point a, Point b, Color colour, float width) {
    Shape &s = add(Shape::Kind::Line);
    s.stroked = true;
    s.ink = colour;
    s.lineWidth = width;
    s.points[0] = a;
    s.points[1] = b;
    s.count = 2;
}

void SideView::text(const Box &b, std::string t) {
    Shape &s = add(Shape::Kind::Text);
    s.ink = ink;
    s.x = b.x;
    s.y = b.y;
    s.width = b.w;
    s.height = b.h;
    s.text = std::move(t);
    s.size = textSize;
}

// The board from the firer to the target: from the higher end on, its hex,
// the hexes to the obstacle, the obstacle's, then on the lower end's side the
// blind hexes, those beyond them, the lower end's own hex (blind or not) and
// blind hexes past it where the count reaches further; the firer's side
// comes first. A range below 1 puts the obstacle nowhere on a board: it is
// drawn as a short break with its number.
void SideView::lay() {
    runs_.reserve(8); // the most there can be
    const auto between = [this](std::int64_t range, std::int64_t blind) {
        if (range < 1) {
            runs_.push_back({Run::Nowhere, range});
            return;
        }
        if (const std::int64_t b = std::min(range - 1, blind); b > 0)
            runs_.push_back({Run::Hexes, b, true});
        if (const std::int64_t clear = range - 1 - std::min(range - 1, blind); clear > 0)
            runs_.push_back({Run::Hexes, clear});
    };
    if (d_.blocked) {
        runs_.push_back({Run::Firer});
        between(d_.whole[field::ro], 0);
        runs_.push_back({Run::Obstacle});
        between(d_.whole[field::rt], 0);
        runs_.push_back({Run::Target});
    } else {
        const std::int64_t far = d_.farRange, count = d_.blind.count;
        const bool lowerBlind = count >= std::max<std::int64_t>(far, 1);
        const std::int64_t beside = far < 1 ? 0 : std::min(far - 1, count);
        runs_.push_back({d_.targetHigher ? Run::Target : Run::Firer});
        between(d_.nearRange, 0);
        runs_.push_back({Run::Obstacle});
        between(far, count);
        runs_.push_back({d_.targetHigher ? Run::Firer : Run::Target, 1, lowerBlind});
        if (const std::int64_t past = count - beside - (lowerBlind ? 1 : 0); past > 0)
            runs_.push_back({Run::Hexes, past, true});
        if (d_.targetHigher)
            std::reverse(runs_.begin(), runs_.end());
    }
    // Shortened, longest first, until the columns fit.
    const auto total = [this] {
        std::int64_t n = 0;
        for (const Run &r : runs_)
            n += r.drawn();
        return n;
    };
    while (total() > columns) {
        Run *longestRun = nullptr;
        for (Run &r : runs_)
            if (r.kind == Run::Hexes && !r.shortened && r.hexes > shortenedTo &&
                (!longestRun || r.hexes > longestRun->hexes))
                longestRun = &r;
        if (!longestRun)
            break;
        longestRun->shortened = true;
    }
    const auto n = static_cast<float>(total());
    column_ = std::min(widestColumn, (viewWidth - 2 * margin) / n);
    float x = (viewWidth - n * column_) / 2;
    for (Run &r : runs_) {
        r.x0 = x;
        x += static_cast<float>(r.drawn()) * column_;
        r.x1 = x;
    }
}

const Run &SideView::run(Run::Kind kind) const {
    return *std::find_if(runs_.begin(), runs_.end(), [&](const Run &r) { return r.kind == kind; });
}

float SideView::centre(Run::Kind kind) const {
    const Run &r = run(kind);
    return (r.x0 + r.x1) / 2;
}

// Level 0, the ground, and the three heights as whole numbers, at a fixed
// size a level up to the room there is; a gap of more than a few levels is
// shortened to that few, with a break mark.
void SideView::levels() {
    std::array<std::int64_t, 4> v{0, d_.whole[field::hf], d_.whole[field::ho], d_.whole[field::ht]};
    std::sort(v.begin(), v.end());
    count_ = static_cast<std::size_t>(std::unique(v.begin(), v.end()) - v.begin());
    std::copy(v.begin(), v.end(), values_.begin());
    // Room above the strip for a counter and two rows of numbers at least.
    const float room = std::max(stripTop_ - (2 * row + 2 + 10) - lift_, 0.0f);
    const auto drawn = [this](std::size_t i) {
        return broken_[i] ? shortenedTo : values_[i] - values_[i - 1];
    };
    std::int64_t steps = 0;
    for (std::size_t i = 1; i < count_; ++i)
        steps += drawn(i);
    while (steps > 0 && room / static_cast<float>(steps) < shortestLevel) {
        std::size_t tallest = 0;
        for (std::size_t i = 1; i < count_; ++i)
            if (!broken_[i] && drawn(i) > shortenedTo && (!tallest || drawn(i) > drawn(tallest)))
                tallest = i;
        if (!tallest)
            break;
        steps -= drawn(tallest) - shortenedTo;
        broken_[tallest] = true;
    }
    const float step = steps > 0 ? std::min(tallestLevel, room / static_cast<float>(steps)) : 0;
    ys_[0] = stripTop_;
    for (std::size_t i = 1; i < count_; ++i)
        ys_[i] = ys_[i - 1] - step * static_cast<float>(drawn(i));
}

float SideView::level(std::int64_t v) const {
    return ys_[static_cast<std::size_t>(std::find(values_.begin(), values_.begin() + count_, v) -
                                        values_.begin())];
}

void SideView::breakMark(float x, float y0, float y1) {
    // Two strokes leaning the same way across the break.
    for (const float dx : {-2.5f, 1.5f})
        line({x + dx - 1.5f, y1}, {x + dx + 1.5f, y0}, ink);
}

// The strip of hexes: each a cell, the blind ones shaded; a shortened stretch
// shows its first and last hex with a break between.
void SideView::board() {
    const float bottom = stripTop_ + strip;
    const auto cell = [&](float x, bool blind) {
        rect({x, stripTop_, column_, strip}, blind ? blindHex : hex, blind ? shadeEdge : sandEdge);
    };
    for (const Run &r : runs_) {
        if (r.kind == Run::Nowhere) {
            breakMark((r.x0 + r.x1) / 2, stripTop_ - 1, bottom + 1);
        } else if (r.kind != Run::Hexes) {
            cell(r.x0, r.blind);
        } else if (r.shortened) {
            cell(r.x0, r.blind);
            cell(r.x1 - column_, r.blind);
            breakMark((r.x0 + r.x1) / 2, stripTop_ - 1, bottom + 1);
        } else {
            for (std::int64_t i = 0; i < r.hexes; ++i)
                cell(r.x0 + static_cast<float>(i) * column_, r.blind);
        }
    }
    // Ground level, where some height lies below it.
    if (values_[0] < 0) {
        const float y = std::round(level(0)) + 0.5f;
        line({runs_.front().x0, y}, {runs_.back().x1, y}, faint);
    }
}

// The obstacle, a block from the lowest level up to its height (a hill's
// crest where it is one), and the two counters standing at their heights.
void SideView::things() {
    const Run &o = run(Run::Obstacle);
    const float top = level(d_.whole[field::ho]), bottom = stripTop_;
    const float h = std::max(bottom - top, 2.0f);
    if (d_.sighting.crest) {
        Shape &hill = add(Shape::Kind::Polygon);
        hill.filled = hill.stroked = true;
        hill.fill = obstacle;
        hill.ink = earthEdge;
        const float inset = column_ * 0.3f;
        hill.points = {Point{o.x0, bottom}, Point{o.x0 + inset, bottom - h},
                       Point{o.x1 - inset, bottom - h}, Point{o.x1, bottom}};
        hill.count = 4;
    } else {
        rect({o.x0 + 1, bottom - h, column_ - 2, h}, obstacle, earthEdge);
    }
    // A gap between levels that the block spans is broken across it.
    for (std::size_t i = 1; i < count_; ++i)
        if (broken_[i] && ys_[i] >= top && ys_[i - 1] <= bottom) {
            const float y = (ys_[i] + ys_[i - 1]) / 2;
            line({o.x0 + 2, y}, {o.x1 - 2, y - 3}, higherEnd, 2);
        }
    // A counter above the lowest level stands on a pole down to its hex,
    // broken where a gap between levels is shortened.
    const float size = counter();
    for (const Run::Kind end : {Run::Firer, Run::Target}) {
        const bool firer = end == Run::Firer;
        const bool lower = d_.blocked ? !firer : firer == d_.targetHigher;
        const Color fill = !lower ? higherEnd : d_.blocked || !d_.seen ? red : green;
        const float y = level(d_.whole[heightOf(end)]), x = std::round(centre(end)) + 0.5f;
        if (y < stripTop_)
            line({x, y}, {x, stripTop_}, faint);
        for (std::size_t i = 1; i < count_; ++i)
            if (broken_[i] && ys_[i] >= y)
                breakMark(x, (ys_[i] + ys_[i - 1]) / 2 - 2, (ys_[i] + ys_[i - 1]) / 2 + 2);
        rect({centre(end) - size / 2, y - size, size, size}, fill, ink);
    }
}

// The line of sight. Blocked: from the firer towards the target, up to the
// obstacle's near face, where it stops. Otherwise from the higher end over
// the obstacle's top down to the end of its shadow: the far edge of the last
// blind hex.
void SideView::sight() {
    const auto eye = [&](Run::Kind end) {
        return Point{centre(end), level(d_.whole[heightOf(end)]) - counter()};
    };
    const Run &o = run(Run::Obstacle);
    const float top = obstacleTop();
    if (d_.blocked) {
        const Point from = eye(Run::Firer), to = eye(Run::Target);
        const float t = (o.x0 - from.x) / (to.x - from.x);
        const float y = std::clamp(from.y + t * (to.y - from.y), top, stripTop_);
        line(from, {o.x0, y});
        line({o.x0 - 3, y - 3}, {o.x0 + 3, y + 3}, red, 2); // where it stops
        return;
    }
    const Run::Kind higher = d_.targetHigher ? Run::Target : Run::Firer;
    const Point from = eye(higher);
    // Past the obstacle, towards the lower end: the last blind hex's far edge.
    const bool right = !d_.targetHigher;
    float end = right ? o.x1 : o.x0;
    for (const Run &r : runs_)
        if (r.blind)
            end = right ? std::max(end, r.x1) : std::min(end, r.x0);
    const Point crest{right ? o.x1 - (d_.sighting.crest ? column_ * 0.3f : 1)
                            : o.x0 + (d_.sighting.crest ? column_ * 0.3f : 1),
                      top};
    line(from, crest);
    line(crest, {end, stripTop_});
}

// A dimension in a row under the strip from x0 to x1, its line and end
// marks kept clear of the numbers in that row.
void SideView::measure(float x0, float x1, float y, std::initializer_list<Box> numbers) {
    if (x0 == x1)
        return; // nothing to measure
    const float mid = std::round(y + row / 2) + 0.5f;
    const auto clear = [&](float x) {
        return std::none_of(numbers.begin(), numbers.end(),
                            [&](const Box &n) { return x >= n.x - 1 && x <= n.right() + 1; });
    };
    for (const float end : {x0, x1})
        if (clear(end))
            line({end, mid - 2.5f}, {end, mid + 2.5f}, faint);
    // The line in pieces between the numbers.
    float from = x0;
    while (from < x1) {
        float to = x1;
        for (const Box &n : numbers)
            if (n.right() + 1 > from && n.x - 1 < to)
                to = std::max(from, n.x - 1);
        if (to > from)
            line({from, mid}, {to, mid}, faint);
        float next = to;
        for (const Box &n : numbers)
            if (n.x - 1 <= to && n.right() + 1 > next)
                next = n.right() + 1;
        if (next <= to)
            break;
        from = next;
    }
}

// Under the strip, the two ranges side by side, their numbers moved apart
// where they would meet; under them the blind hexes' count.
void SideView::ranges() {
    const float y = stripTop_ + strip;
    const std::string a = number(d_.whole[field::ro]), b = number(d_.whole[field::rt]);
    const float wa = widthOf(a), wb = widthOf(b);
    const float o = centre(Run::Obstacle), f = centre(Run::Firer), t = centre(Run::Target);
    float xa = (f + o) / 2 - wa / 2, xb = (o + t) / 2 - wb / 2;
    if (const float overlap = xa + wa + 2 - xb; overlap > 0) {
        xa -= overlap / 2;
        xb += overlap / 2;
    }
    xa = std::max(xa, 1.0f);
    xb = std::clamp(xb, xa + wa + 2, viewWidth - 1 - wb);
    xa = std::min(xa, xb - 2 - wa);
    const Box na{xa, y, wa, row}, nb{xb, y, wb, row};
    measure(f, o, y, {na, nb});
    measure(o, t, y, {na, nb});
    text(na, a);
    text(nb, b);
    if (d_.blocked)
        return;
    float x0 = viewWidth, x1 = 0;
    for (const Run &r : runs_)
        if (r.blind) {
            x0 = std::min(x0, r.x0);
            x1 = std::max(x1, r.x1);
        }
    if (x0 > x1) // none: the shadow ends at the obstacle's edge
        x0 = x1 = d_.targetHigher ? run(Run::Obstacle).x0 : run(Run::Obstacle).x1;
    const std::string c = number(d_.blind.count);
    const float wc = widthOf(c);
    const Box nc{std::clamp((x0 + x1) / 2 - wc / 2, 1.0f, viewWidth - 1 - wc), y + row, wc, row};
    measure(x0, x1, y + row, {nc});
    text(nc, c);
}

// Each height's number at its thing: just above it, else beside it, else
// raised above whatever it would cover. The highest thing's number first.
void SideView::heights() {
    const float size = counter();
    const Run &o = run(Run::Obstacle);
    const float top = obstacleTop();
    // The things, in the order of the fields they stand for: firer,
    // obstacle, target. Numbers may cover neither these nor one another.
    const std::size_t fields[] = {field::hf, field::ho, field::ht};
    const float values[] = {d_.sighting.hf, d_.sighting.ho, d_.sighting.ht};
    const auto counterAt = [&](Run::Kind end) {
        return Box{centre(end) - size / 2, level(d_.whole[heightOf(end)]) - size, size, size};
    };
    std::vector<Box> taken{
        counterAt(Run::Firer), {o.x0, top, o.x1 - o.x0, stripTop_ - top}, counterAt(Run::Target)};
    std::array<std::size_t, 3> order{0, 1, 2};
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return taken[a].y < taken[b].y; });
    const auto free = [&](const Box &b) {
        return b.x >= 1 && b.right() <= viewWidth - 1 &&
               std::none_of(taken.begin(), taken.end(), [&](const Box &t) { return b.meets(t); });
    };
    for (const std::size_t i : order) {
        const Box thing = taken[i];
        // Blocked, the heights as typed, which the rule compared; else as
        // counted.
        const std::size_t f = fields[i];
        std::string t = d_.blocked ? quoted(d_.sighting.typed[f], values[i]) : number(d_.whole[f]);
        const float w = widthOf(t), mid = thing.x + thing.w / 2, above = thing.y - 1 - row;
        Box box{std::clamp(mid - w / 2, 1.0f, viewWidth - 1 - w), above, w, row};
        const Box besides[] = {{thing.x - 2 - w, thing.y + thing.h / 2 - row / 2, w, row},
                               {thing.right() + 2, thing.y + thing.h / 2 - row / 2, w, row}};
        if (!free(box)) {
            const Box *side = std::find_if(std::begin(besides), std::end(besides), free);
            if (side != std::end(besides) && i != 1)
                box = *side;
            else
                for (bool moved = true; moved;) {
                    moved = false;
                    for (const Box &b : taken)
                        if (box.meets(b)) {
                            box.y = b.y - row;
                            moved = true;
                        }
                }
        }
        overflow_ = std::max(overflow_, 1 - box.y);
        box.y = std::max(box.y, 1.0f);
        taken.push_back(box);
        text(box, std::move(t));
    }
}

platform::Picture SideView::draw() {
    pic_.shapes.reserve(64);
    lay();
    stripTop_ = viewHeight - 1 - (d_.blocked ? 1 : 2) * row - strip;
    levels();
    board();
    things();
    sight();
    ranges();
    heights();
    return std::move(pic_);
}

} // namespace

platform::Picture sideView(const Decision &d) {
    // Numbers stacked above one another may need more room at the top: the
    // levels are then drawn smaller.
    float lift = 0;
    for (int attempt = 0;; ++attempt) {
        SideView view(d, lift);
        platform::Picture picture = view.draw();
        if (view.overflow() <= 0 || attempt == 3)
            return picture;
        lift += view.overflow() + 1;
    }
}

} // namespace los
