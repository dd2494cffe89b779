// BrCoords: frame composition, re-orthogonalisation and the archive form.
#include "core/BrCoords.h"

#include "core/BrBin.h"
#include "core/BrMatrix3.h"

BrCoords BrCoords::operator*(const BrCoords& o) const {
  const BrMatrix3 axes(o.X, o.Y, o.Z);
  return BrCoords(X * axes, Y * axes, Z * axes, BrVector());
}

BrCoords BrCoords::operator*=(const BrCoords& o) {
  *this = *this * o;
  return *this;
}

void BrCoords::ReOrthogonalize() {
  Z.Normalise();
  X.Normalise();
  Y = Z ^ X;
  X = Y ^ Z;
}

BrBin& operator<<(BrBin& ar, BrCoords& c) { return ar << c.X << c.Y << c.Z << c.Position; }
