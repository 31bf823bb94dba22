#include "HyperspaceGeometry.h"

#include "SynthTables.h"

#include <cmath>

namespace hyperspace {

namespace {

// Truncation toward zero of a pixel coordinate; coordinates far outside any
// window (a pointer ray nearly parallel to the box) are limited first so the
// conversion stays defined.
int32_t pixel(float v)
{
    if (!(v > -1.0e6f))
        return -1000000;
    if (v > 1.0e6f)
        return 1000000;
    return static_cast<int32_t>(v);
}

// The view space point of box point X, Y, Z.
void viewPoint(float x, float y, float z, float v[3])
{
    v[0] = x - 0.5f;
    v[1] = 0.5f - y;
    v[2] = 1.0f - z;
}

float dot(const float a[3], const float b[3])
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

float clampUnit(float value)
{
    if (!(value >= 0.0f))
        return 0.0f;
    return value > 1.0f ? 1.0f : value;
}

Layout makeLayout(const Rect& c)
{
    Layout l{};
    l.client = c;
    l.drawingArea = {c.left + 30, c.top + 24, c.right - 12, c.bottom - 24};
    l.areaWidth = l.drawingArea.right - l.drawingArea.left;
    l.areaHeight = l.drawingArea.bottom - l.drawingArea.top;
    l.areaCentreX = l.drawingArea.left + l.areaWidth / 2;
    l.areaCentreY = l.drawingArea.top + l.areaHeight / 2;
    l.hueLegend = {c.left + 60, c.top, c.left + 90, c.top + 12};
    l.luminanceLegend = {c.left + 150, c.top, c.left + 180, c.top + 12};
    l.horizontalTrack = {c.right - 160, c.top, c.right - 24, c.top + 12};
    l.verticalTrack = {c.right - 12, c.top + 24, c.right, c.top + 160};
    l.labels[3] = {c.left + 30, c.top, c.left + 60, c.top + 12};
    l.labels[4] = {c.left + 120, c.top, c.left + 150, c.top + 12};
    return l;
}

bool updateProjection(Projection& p, float a, float b, const Layout& layout)
{
    if (a == p.angleA && b == p.angleB)
        return false;
    p.angleA = a;
    p.angleB = b;
    const float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
    p.rowX[0] = ca;
    p.rowX[1] = sa * sb;
    p.rowX[2] = sa * cb;
    p.rowY[0] = 0.0f;
    p.rowY[1] = cb;
    p.rowY[2] = -sb;
    p.rowD[0] = -sa;
    p.rowD[1] = ca * sb;
    p.rowD[2] = ca * cb;

    // The front face's corners with unit scale and no offset.
    p.scale = 1.0f;
    p.offsetX = 0.0f;
    p.offsetY = 0.0f;
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int k = 0; k < 4; ++k) {
        Point s = project(p, (k & 1) ? 1.0f : 0.0f, (k & 2) ? 1.0f : 0.0f, 1.0f);
        if (k == 0 || s.x < minX)
            minX = s.x;
        if (k == 0 || s.x > maxX)
            maxX = s.x;
        if (k == 0 || s.y < minY)
            minY = s.y;
        if (k == 0 || s.y > maxY)
            maxY = s.y;
    }
    float scaleX = static_cast<float>(layout.areaWidth) / (maxX - minX);
    float scaleY = static_cast<float>(layout.areaHeight) / (maxY - minY);
    p.scale = scaleX < scaleY ? scaleX : scaleY;
    p.offsetX = static_cast<float>(layout.areaCentreX) - (minX + maxX) * p.scale / 2.0f;
    p.offsetY = static_cast<float>(layout.areaCentreY) - (minY + maxY) * p.scale / 2.0f;
    return true;
}

Point project(const Projection& p, float x, float y, float z, float* w)
{
    float v[3];
    viewPoint(x, y, z, v);
    float factor = 1.0f / (dot(p.rowD, v) + 1.0f);
    if (w)
        *w = factor;
    return {dot(p.rowX, v) * factor * p.scale + p.offsetX,
            dot(p.rowY, v) * factor * p.scale + p.offsetY};
}

PointerRay unproject(const Projection& p, float sx, float sy)
{
    const float u = (sx - p.offsetX) / p.scale;
    const float v = (sy - p.offsetY) / p.scale;
    // Direction of the ray in view space: R^T (u, v, 1).
    float dir[3];
    for (int k = 0; k < 3; ++k)
        dir[k] = u * p.rowX[k] + v * p.rowY[k] + p.rowD[k];
    PointerRay ray{};
    // From the eye -D, the ray reaches z' = 0 at s = D.z / dir.z and
    // z' = 1 at s = (1 + D.z) / dir.z. Within the sliders' +-0.34 the ray
    // always runs into the box (dir.z stays near 1); a degenerate ray is
    // simply not over the box.
    if (!(std::fabs(dir[2]) > 1.0e-6f))
        return ray;
    const float planes[2] = {0.0f, 1.0f};
    Point* out[2] = {&ray.nearPoint, &ray.farPoint};
    for (int k = 0; k < 2; ++k) {
        float s = (planes[k] + p.rowD[2]) / dir[2];
        float vx = -p.rowD[0] + s * dir[0];
        float vy = -p.rowD[1] + s * dir[1];
        out[k]->x = vx + 0.5f;
        out[k]->y = 0.5f - vy;
    }
    ray.overBox = ray.nearPoint.x >= 0.0f && ray.nearPoint.x <= 1.0f && ray.nearPoint.y >= 0.0f &&
                  ray.nearPoint.y <= 1.0f;
    return ray;
}

Point cursorPoint(const PointerRay& ray, float t)
{
    return {ray.nearPoint.x + (ray.farPoint.x - ray.nearPoint.x) * t,
            ray.nearPoint.y + (ray.farPoint.y - ray.nearPoint.y) * t};
}

float effectiveDepth(const PointerRay& ray, float t)
{
    const Point c = cursorPoint(ray, t);
    const Point n = ray.nearPoint, f = ray.farPoint;
    float result = t;
    // Depth at which the line from n to f meets each side it crosses.
    if (c.x < 0.0f && n.x != f.x)
        result = std::fmin(result, n.x / (n.x - f.x));
    else if (c.x > 1.0f && n.x != f.x)
        result = std::fmin(result, (1.0f - n.x) / (f.x - n.x));
    if (c.y < 0.0f && n.y != f.y)
        result = std::fmin(result, n.y / (n.y - f.y));
    else if (c.y > 1.0f && n.y != f.y)
        result = std::fmin(result, (1.0f - n.y) / (f.y - n.y));
    return result;
}

int32_t cursorSizeIndex(float t)
{
    float size = (1.0f - (1.0f / (1.0f + t) - 0.5f) / 0.5f) * 7.99f;
    return SynthTables::truncLimit(size, 0, 6);
}

int32_t colourIndex(float value)
{
    return SynthTables::truncLimit(clampUnit(value) * 15.984f, 0, 15);
}

Colour oscillatorColour(const SynthTables& tables, float hue, float luminance)
{
    const float h = 0.8f * hue;
    const float l = 0.6f * luminance + 0.2f;
    const float phases[3] = {0.25f, 0.91f, 0.58f}; // red, green, blue
    uint8_t channel[3];
    for (int k = 0; k < 3; ++k) {
        float phase = h + phases[k];
        phase -= std::floor(phase);
        if (!(phase >= 0.0f && phase < 1.0f))
            phase = 0.0f;
        float c = (1.0f + tables.sineAt(phase * 8192.0f)) / 2.0f;
        if (l < 0.5f)
            c = c * 2.0f * l;
        else
            c = 1.0f - (1.0f - c) * 2.0f * (1.0f - l);
        channel[k] = static_cast<uint8_t>(SynthTables::truncLimit(c * 255.0f, 0, 255));
    }
    return {channel[0], channel[1], channel[2]};
}

float sliderAngle(int32_t pointer, int32_t trackStart, int32_t trackLength)
{
    if (trackLength <= 0)
        return 0.0f;
    float angle =
        static_cast<float>(pointer - trackStart) * 0.68f / static_cast<float>(trackLength) - 0.34f;
    if (angle < -0.34f)
        return -0.34f;
    return angle > 0.34f ? 0.34f : angle;
}

int32_t sliderKnobOffset(float angle, int32_t trackLength)
{
    return pixel((0.34f + angle) * static_cast<float>(trackLength) / 0.68f);
}

void placeAxisLabels(Layout& layout, const Projection& p)
{
    const int32_t lowest = layout.client.bottom - 12;
    const BoxPoint anchors[3] = {{1, 0, 1}, {0, 1, 1}, {0, 0, 1}};
    for (int k = 0; k < 3; ++k) {
        Point s = project(p, anchors[k].x, anchors[k].y, anchors[k].z);
        int32_t sx = pixel(s.x), sy = pixel(s.y);
        if (sy > lowest)
            sy = lowest;
        if (k < 2)
            layout.labels[k] = {sx - 30, sy, sx, sy + 12};
        else
            layout.labels[k] = {sx, sy, sx + 30, sy + 12};
    }
}

void wallTile(int32_t wall, int32_t row, int32_t column, BoxPoint corners[4])
{
    // Each wall as its corner at (0, 0) and its two edge vectors (row
    // direction, column direction).
    static const BoxPoint origin[5] = {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 0}};
    static const BoxPoint down[5] = {{0, 1, 0}, {0, 0, 1}, {0, 0, 1}, {0, 1, 0}, {0, 1, 0}};
    static const BoxPoint across[5] = {{0, 0, 1}, {1, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 0}};
    if (wall < 0 || wall > 4)
        wall = 4;
    const int32_t rs[4] = {row, row, row + 1, row + 1};
    const int32_t cs[4] = {column, column + 1, column + 1, column};
    for (int k = 0; k < 4; ++k) {
        float r = static_cast<float>(rs[k]) / 8.0f, c = static_cast<float>(cs[k]) / 8.0f;
        corners[k] = {origin[wall].x + down[wall].x * r + across[wall].x * c,
                      origin[wall].y + down[wall].y * r + across[wall].y * c,
                      origin[wall].z + down[wall].z * r + across[wall].z * c};
    }
}

bool arrowHead(const SynthTables& tables, IntPoint start, IntPoint tip, IntPoint& left,
               IntPoint& right)
{
    float dx = static_cast<float>(tip.x - start.x), dy = static_cast<float>(tip.y - start.y);
    float length = tables.fastSqrt(dx * dx + dy * dy);
    if (!(length > 0.0f))
        return false;
    float ux = dx / length, uy = dy / length;
    float nx = -uy, ny = ux;
    left = {pixel(tip.x - 5.0f * ux - 5.0f * nx), pixel(tip.y - 5.0f * uy - 5.0f * ny)};
    right = {pixel(tip.x - 5.0f * ux + 5.0f * nx), pixel(tip.y - 5.0f * uy + 5.0f * ny)};
    return true;
}

TrailQuad trailQuad(const SynthTables& tables, const TrailStep& s)
{
    float dx = s.point.x - s.previousPoint.x;
    float dy = s.point.y - s.previousPoint.y;
    if (!s.previousDrawn) {
        // Nothing of this trail is on screen (the oscillator was silent or
        // the scene was just redrawn): its previous point and corners are
        // stale, so start with a block as if it stood still.
        dx = 0.0f;
        dy = 0.0f;
    }
    if (std::fabs(dx) + std::fabs(dy) < 0.1f)
        dx += 1.0f;
    float length = tables.fastSqrt(dx * dx + dy * dy);
    if (length < 0.01f)
        length = 0.01f;
    const float width = static_cast<float>(s.trailWidth + 2) * s.w;
    float ox = dy * width / (2.0f * length);
    float oy = -dx * width / (2.0f * length);
    // Keep the left edge on the side the previous segment had it.
    if (s.previousDrawn) {
        float ex = static_cast<float>(s.previousRight.x - s.previousLeft.x);
        float ey = static_cast<float>(s.previousRight.y - s.previousLeft.y);
        if (ex * ox + ey * oy > 0.0f) {
            ox = -ox;
            oy = -oy;
        }
    }
    TrailQuad q;
    q.frontLeft = {pixel(s.point.x + ox), pixel(s.point.y + oy)};
    q.frontRight = {pixel(s.point.x - ox), pixel(s.point.y - oy)};
    if (s.restart) {
        IntPoint r = {pixel(s.restartPoint.x), pixel(s.restartPoint.y)};
        q.backLeft = r;
        q.backRight = r;
    } else if (length < width || !s.previousDrawn) {
        int32_t mx = pixel(width * dx / length), my = pixel(width * dy / length);
        q.backLeft = {q.frontLeft.x - mx, q.frontLeft.y - my};
        q.backRight = {q.frontRight.x - mx, q.frontRight.y - my};
    } else {
        q.backLeft = s.previousLeft;
        q.backRight = s.previousRight;
    }
    return q;
}

void pinPolygon(Point a, Point b, Point c, IntPoint polygon[6])
{
    const IntPoint ia = {pixel(a.x), pixel(a.y)};
    const IntPoint ib = {pixel(b.x), pixel(b.y)};
    const IntPoint ic = {pixel(c.x), pixel(c.y)};
    polygon[0] = {ia.x + 1, ia.y};
    polygon[1] = {ic.x + 1, ic.y};
    polygon[2] = {ib.x + 1, ib.y};
    polygon[3] = {ib.x, ib.y};
    polygon[4] = {ic.x, ic.y + 1};
    polygon[5] = {ia.x + 1, ia.y + 1};
}

float fractionAlong(Point from, Point to, Point p)
{
    float dx = to.x - from.x, dy = to.y - from.y;
    float length2 = dx * dx + dy * dy;
    if (!(length2 > 0.0f))
        return 0.0f;
    return clampUnit(((p.x - from.x) * dx + (p.y - from.y) * dy) / length2);
}

TrailRing advanceTrailRing(int32_t head, int32_t trailLength)
{
    if (trailLength < 1)
        trailLength = 1;
    TrailRing r;
    r.previous = (head >= 0 && head < trailLength) ? head : 0;
    r.head = head + 1;
    if (r.head < 1 || r.head >= trailLength)
        r.head = 0;
    r.next = r.head + 1;
    if (r.next >= trailLength)
        r.next = 0;
    return r;
}

} // namespace hyperspace
