// BrCoords: a coordinate frame of three axes and a position.
#pragma once

#include "core/BrVector.h"

class BrBin;

// Four vectors: X (right), Y (up) and Z (forward) axes, then the position. Default construction gives
// all four (0, 0, 0), not the identity frame.
class BrCoords {
public:
  BrVector X, Y, Z, Position;

  // All four vectors (0, 0, 0).
  BrCoords() = default;
  // The three axes and the position as given.
  BrCoords(BrVector x, BrVector y, BrVector z, BrVector position) : X(x), Y(y), Z(z), Position(position) {}
  BrCoords(const BrCoords&) = default;
  BrCoords& operator=(const BrCoords&) = default;

  // Each of this frame's axes times o's axis matrix (rows o.X, o.Y, o.Z); the result's position is (0, 0, 0).
  BrCoords operator*(const BrCoords& o) const;
  // The same composition in place (the position becomes (0, 0, 0)); returns a copy.
  BrCoords operator*=(const BrCoords& o);
  // Restores perpendicular unit axes: normalise Z and X, then Y = Z ^ X, X = Y ^ Z. The position is kept.
  void ReOrthogonalize();
};

// Streams the four vectors in member order, each as x, y, z floats (48 bytes).
BrBin& operator<<(BrBin& ar, BrCoords& c);
