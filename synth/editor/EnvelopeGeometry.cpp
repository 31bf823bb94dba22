#include "EnvelopeGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// Truncates toward zero; not-a-number gives 0 and huge values stop a
// million pixels away, far outside any control.
int32_t pixels(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(std::max(-1.0e6, std::min(1.0e6, value)));
}
} // namespace

EnvelopeGeometry::EnvelopeGeometry(int32_t width, int32_t height)
{
    plot = {24, 11, width - 4, height - 12};
    x40 = plot.left + static_cast<int32_t>(plot.width() * 0.4);
    x70 = plot.left + static_cast<int32_t>(plot.width() * 0.7);
    name = {0, -2, width, 14};
    const int32_t spans[4] = {plot.left, x40, x70, plot.right};
    for (int i = 0; i < 3; ++i) {
        topLabel[i] = {spans[i], -2, spans[i + 1], 14};
        timeText[i] = {spans[i], plot.bottom, spans[i + 1], height};
    }
    timeEntry[kAttack] = {plot.left + 20, plot.bottom - 5, x40 - 20, height};
    timeEntry[kDecay] = {x40 + 10, plot.bottom - 5, x70 - 10, height};
    timeEntry[kRelease] = {x70 + 10, plot.bottom - 5, plot.right - 10, height};
    upperAxisLabel = {0, plot.top, plot.left, plot.top + 14};
    lowerAxisLabel = {0, plot.bottom - 14, plot.left, plot.bottom};
}

int32_t EnvelopeGeometry::attackPoints(const PatchEnvelope& envelope)
{
    return std::min<int32_t>(std::max<int32_t>(envelope.pointCount, 2), kMaxAttackPoints);
}

int32_t EnvelopeGeometry::timeToX(float time) const
{
    return plot.left + pixels(plot.width() * static_cast<double>(time) * 0.4);
}

float EnvelopeGeometry::xToTime(int32_t x) const
{
    const double attackWidth = plot.width() * 0.4;
    if (attackWidth <= 0)
        return 0.0f;
    // The quotient rounded to float can land a hair short of its column;
    // step up to the first float that is drawn in column x, so a point stays
    // exactly where it was put.
    float time = static_cast<float>((x - plot.left) / attackWidth);
    for (int i = 0; i < 4 && timeToX(time) < x; ++i)
        time = std::nextafter(time, 2.0f);
    return time;
}

int32_t EnvelopeGeometry::levelToY(float level) const
{
    return plot.bottom - pixels(plot.height() * static_cast<double>(level));
}

float EnvelopeGeometry::yToLevel(int32_t y) const
{
    if (plot.height() <= 0)
        return 0.0f;
    // As xToTime: the first float drawn on row y.
    float level = static_cast<float>(plot.bottom - y) / plot.height();
    for (int i = 0; i < 4 && levelToY(level) > y; ++i)
        level = std::nextafter(level, 2.0f);
    return level;
}

Point EnvelopeGeometry::point(const PatchEnvelope& envelope, int32_t i) const
{
    const int32_t n = attackPoints(envelope);
    if (i < n)
        return {timeToX(envelope.pointTime[std::max(i, 0)]),
                levelToY(envelope.pointLevel[std::max(i, 0)])};
    if (i == n)
        return {x70, levelToY(envelope.sustainLevel)};
    return {plot.right, levelToY(envelope.releaseLevel)};
}

int32_t EnvelopeGeometry::baseline(int32_t kind) const
{
    return kind == 2 ? (plot.top + plot.bottom) / 2 : plot.bottom;
}

int32_t EnvelopeGeometry::hitTest(const PatchEnvelope& envelope, Point p) const
{
    const int32_t n = attackPoints(envelope);
    for (int32_t i = 0; i < n + 2; ++i) {
        const Point q = point(envelope, i);
        const int64_t dx = std::llabs(static_cast<int64_t>(q.x) - p.x);
        const int64_t dy = std::llabs(static_cast<int64_t>(q.y) - p.y);
        if (std::max(dx, dy) < kHitDistance)
            return i;
    }
    return -1;
}

void EnvelopeGeometry::decayGlide(Point a, Point s, Point out[3])
{
    out[0] = {(2 * a.x + s.x) / 3, (79 * a.y + 21 * s.y) / 100};
    out[1] = {(a.x + 2 * s.x) / 3, (63 * a.y + 37 * s.y) / 100};
    out[2] = {s.x, (a.y + s.y) / 2};
}
