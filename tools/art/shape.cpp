#include "tools/art/shape.h"

#include <cstddef>

namespace art {
namespace {

Vec2 CatmullRom(Vec2 p0, Vec2 p1, Vec2 p2, Vec2 p3, double t) {
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double w0 = -0.5 * t3 + t2 - 0.5 * t;
  const double w1 = 1.5 * t3 - 2.5 * t2 + 1.0;
  const double w2 = -1.5 * t3 + 2.0 * t2 + 0.5 * t;
  const double w3 = 0.5 * t3 - 0.5 * t2;
  return p0 * w0 + p1 * w1 + p2 * w2 + p3 * w3;
}

}  // namespace

std::vector<Vec2> ClosedCurve(const std::vector<Vec2>& controls, int steps) {
  std::vector<Vec2> points;
  const std::size_t n = controls.size();
  if (n < 3 || steps < 1) return controls;
  for (std::size_t i = 0; i < n; ++i) {
    const Vec2 p0 = controls[(i + n - 1) % n];
    const Vec2 p1 = controls[i];
    const Vec2 p2 = controls[(i + 1) % n];
    const Vec2 p3 = controls[(i + 2) % n];
    for (int s = 0; s < steps; ++s) {
      points.push_back(CatmullRom(p0, p1, p2, p3, static_cast<double>(s) / steps));
    }
  }
  return points;
}

std::vector<Vec2> BentLine(Vec2 from, Vec2 control, Vec2 to, int steps) {
  std::vector<Vec2> points;
  for (int s = 0; s <= steps; ++s) {
    const double t = static_cast<double>(s) / steps;
    const double u = 1.0 - t;
    points.push_back(from * (u * u) + control * (2.0 * u * t) + to * (t * t));
  }
  return points;
}

double SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
  const Vec2 ab = b - a;
  const Vec2 ap = p - a;
  const double lengthSquared = Dot(ab, ab);
  const double t = lengthSquared > 0.0 ? Clamp01(Dot(ap, ab) / lengthSquared) : 0.0;
  return Length(ap - ab * t);
}

double PolylineDistance(const std::vector<Vec2>& line, Vec2 p) {
  if (line.empty()) return 1e9;
  double best = Length(p - line[0]);
  for (std::size_t i = 1; i < line.size(); ++i) {
    const double d = SegmentDistance(p, line[i - 1], line[i]);
    if (d < best) best = d;
  }
  return best;
}

double SignedDistance(const std::vector<Vec2>& polygon, Vec2 p) {
  const std::size_t n = polygon.size();
  if (n < 3) return 1e9;
  double best = 1e18;
  bool inside = false;
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec2 a = polygon[j];
    const Vec2 b = polygon[i];
    const double d = SegmentDistance(p, a, b);
    if (d < best) best = d;
    if ((b.y > p.y) != (a.y > p.y)) {
      const double crossX = b.x + (p.y - b.y) * (a.x - b.x) / (a.y - b.y);
      if (p.x < crossX) inside = !inside;
    }
  }
  return inside ? -best : best;
}

double EllipseDistance(Vec2 p, Vec2 centre, Vec2 radii) {
  const Vec2 q = p - centre;
  const Vec2 scaled{q.x / radii.x, q.y / radii.y};
  const Vec2 scaled2{q.x / (radii.x * radii.x), q.y / (radii.y * radii.y)};
  const double k0 = Length(scaled);
  const double k1 = Length(scaled2);
  if (k1 == 0.0) return -(radii.x < radii.y ? radii.x : radii.y);
  return k0 * (k0 - 1.0) / k1;
}

}  // namespace art
