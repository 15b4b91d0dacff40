#pragma once
// Outlines and lines for the flyer: smooth closed curves through a few
// control points, flattened to polygons, and exact distances to them.
#include <vector>

#include "tools/art/det_math.h"

namespace art {

// Closed Catmull-Rom curve through `controls`, `steps` points per span.
std::vector<Vec2> ClosedCurve(const std::vector<Vec2>& controls, int steps);

// Quadratic Bezier from `from` to `to` pulled towards `control`.
std::vector<Vec2> BentLine(Vec2 from, Vec2 control, Vec2 to, int steps);

double SegmentDistance(Vec2 p, Vec2 a, Vec2 b);

double PolylineDistance(const std::vector<Vec2>& line, Vec2 p);

// Distance to the polygon's edge, negative inside (even-odd rule).
double SignedDistance(const std::vector<Vec2>& polygon, Vec2 p);

// Approximate signed distance to an axis-aligned ellipse about `centre`.
double EllipseDistance(Vec2 p, Vec2 centre, Vec2 radii);

}  // namespace art
