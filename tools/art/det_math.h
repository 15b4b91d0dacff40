#pragma once
// Arithmetic for the art generator. The pictures use only +, -, *, /, sqrt,
// floor and fabs, which are exactly rounded everywhere, so they come out byte
// for byte the same on every machine (libm's sin, exp and pow promise no such
// thing, so they are not used).
#include <cmath>

namespace art {

struct Rgb {
  double r = 0.0;
  double g = 0.0;
  double b = 0.0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }

struct Vec2 {
  double x = 0.0;
  double y = 0.0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double k) { return {a.x * k, a.y * k}; }
inline double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
inline double Length(Vec2 a) { return std::sqrt(Dot(a, a)); }

inline double Clamp01(double x) { return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x); }
inline double Mix(double a, double b, double t) { return a + (b - a) * t; }
inline Rgb Mix(Rgb a, Rgb b, double t) {
  return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)};
}
inline Rgb Max(Rgb a, Rgb b) {
  return {a.r > b.r ? a.r : b.r, a.g > b.g ? a.g : b.g, a.b > b.b ? a.b : b.b};
}

inline double SmoothStep(double edge0, double edge1, double x) {
  const double t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

// 1 on the line, fading to 0 at `halfWidth` + `soft` away from it.
inline double LineMask(double distance, double halfWidth, double soft) {
  return 1.0 - SmoothStep(halfWidth - 0.5 * soft, halfWidth + 0.5 * soft, distance);
}

}  // namespace art
