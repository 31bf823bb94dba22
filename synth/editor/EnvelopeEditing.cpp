#include "EnvelopeEditing.h"

#include <algorithm>
#include <cstdlib>

bool EnvelopeEditing::nearOtherAttackPoint(const PatchEnvelope& envelope,
                                           const EnvelopeGeometry& geometry, int32_t except,
                                           int32_t x)
{
    const int32_t n = EnvelopeGeometry::attackPoints(envelope);
    for (int32_t j = 0; j < n; ++j)
        if (j != except &&
            std::abs(geometry.point(envelope, j).x - x) <= EnvelopeGeometry::kNeighbourGap)
            return true;
    return false;
}

void EnvelopeEditing::swapAttackPoints(PatchEnvelope& envelope, int32_t a, int32_t b)
{
    std::swap(envelope.pointTime[a], envelope.pointTime[b]);
    std::swap(envelope.pointLevel[a], envelope.pointLevel[b]);
}

int32_t EnvelopeEditing::insertPoint(PatchEnvelope& envelope, const EnvelopeGeometry& geometry,
                                     Point p)
{
    const int32_t n = EnvelopeGeometry::attackPoints(envelope);
    const Rect& plot = geometry.plot;
    if (p.x <= plot.left || p.y < plot.top || p.y >= plot.bottom)
        return -1;
    if (p.x >= geometry.point(envelope, n - 1).x || n >= EnvelopeGeometry::kMaxAttackPoints)
        return -1;
    int32_t k = n - 1;
    for (int32_t i = 1; i < n; ++i) {
        const int32_t x = geometry.point(envelope, i).x;
        if (i <= n - 2 && std::abs(x - p.x) <= EnvelopeGeometry::kNeighbourGap)
            return -1;
        if (x > p.x) {
            k = i;
            break;
        }
    }
    for (int32_t i = n; i > k; --i) {
        envelope.pointTime[i] = envelope.pointTime[i - 1];
        envelope.pointLevel[i] = envelope.pointLevel[i - 1];
    }
    envelope.pointCount = n + 1;
    envelope.pointTime[k] = geometry.xToTime(p.x);
    envelope.pointLevel[k] = geometry.yToLevel(p.y);
    return k;
}

EnvelopeEditing::DragResult EnvelopeEditing::dragPoint(PatchEnvelope& envelope,
                                                       const EnvelopeGeometry& geometry,
                                                       int32_t selected, Point p, int32_t kind)
{
    const int32_t n = EnvelopeGeometry::attackPoints(envelope);
    if (selected < 0 || selected > n + 1)
        return {-1, kNothingHeard};
    if (kind == 0 && (selected == 0 || selected == n + 1))
        p.y = geometry.plot.bottom;
    const float level = std::min(1.0f, std::max(0.0f, geometry.yToLevel(p.y)));
    const int32_t target = std::min(std::max(p.x, geometry.plot.left), geometry.x40);

    if (selected == n) {
        envelope.sustainLevel = level;
        return {selected, kSustainLevel};
    }
    if (selected == n + 1) {
        envelope.releaseLevel = level;
        return {selected, kReleaseLevel};
    }
    envelope.pointLevel[selected] = level;
    if (selected == 0)
        return {selected, kNothingHeard};
    if (selected == n - 1)
        return {selected, kLastAttackPoint};

    // An inner point: the free pixel nearest the target, searching toward
    // where the point is now.
    const int32_t present = geometry.point(envelope, selected).x;
    const int32_t step = present > target ? 1 : -1;
    for (int32_t x = target; x != present; x += step) {
        if (!nearOtherAttackPoint(envelope, geometry, selected, x)) {
            envelope.pointTime[selected] = std::min(1.0f, std::max(0.0f, geometry.xToTime(x)));
            break;
        }
    }
    // Keep the attack points sorted by time.
    while (selected + 1 <= n - 1 &&
           envelope.pointTime[selected + 1] < envelope.pointTime[selected]) {
        swapAttackPoints(envelope, selected, selected + 1);
        ++selected;
    }
    while (selected - 1 >= 0 && envelope.pointTime[selected - 1] > envelope.pointTime[selected]) {
        swapAttackPoints(envelope, selected, selected - 1);
        --selected;
    }
    return {selected, selected == n - 1 ? kLastAttackPoint : kNothingHeard};
}

bool EnvelopeEditing::deleteInnerPoint(PatchEnvelope& envelope, const EnvelopeGeometry& geometry,
                                       Point p)
{
    const int32_t n = EnvelopeGeometry::attackPoints(envelope);
    const int32_t hit = geometry.hitTest(envelope, p);
    if (hit < 1 || hit > n - 2)
        return false;
    for (int32_t i = hit; i < n - 1; ++i) {
        envelope.pointTime[i] = envelope.pointTime[i + 1];
        envelope.pointLevel[i] = envelope.pointLevel[i + 1];
    }
    envelope.pointCount = n - 1;
    return true;
}
