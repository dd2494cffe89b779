// BrRect: a float rectangle (minimum x, minimum y, maximum x, maximum y) with point and circle tests.
#pragma once

class BrVector;

// Used for text extents and widget tests in screen fractions, and for display-mode sizes in pixels.
class BrRect {
public:
  // All four 0.
  BrRect() : minX(0.0f), minY(0.0f), maxX(0.0f), maxY(0.0f) {}
  // (0, 0) to (w, h): the size of a display mode.
  BrRect(float w, float h) : minX(0.0f), minY(0.0f), maxX(w), maxY(h) {}
  // The four values in field order.
  BrRect(float x0, float y0, float x1, float y1) : minX(x0), minY(y0), maxX(x1), maxY(y1) {}
  BrRect(const BrRect&) = default;
  BrRect& operator=(const BrRect&) = default;
  ~BrRect() {}

  // Each value within 0.001 (strictly) of the other's.
  bool operator==(const BrRect& o) const;
  bool operator!=(const BrRect& o) const { return !(*this == o); }
  // Moves both x values by dx and both y values by dy.
  void Translate(float dx, float dy);
  // Maximum x minus minimum x.
  float GetWidth() const { return maxX - minX; }
  // Maximum y minus minimum y.
  float GetHeight() const { return maxY - minY; }
  // The point's x and y lie within the bounds, edges included; z is ignored.
  bool ContainsPoint(const BrVector& p) const;
  // The whole circle of radius r about c lies inside, edges included.
  bool ContainsCircle(const BrVector& c, float r) const;
  // c lies within the rectangle grown by twice r on every side, edges included.
  bool IntersectsCircle(const BrVector& c, float r) const;

  float minX, minY, maxX, maxY;
};
