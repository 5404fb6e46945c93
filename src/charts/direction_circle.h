#pragma once
// Directions in tenths of a degree on the circle, for the series chart's candle statistics.

namespace vantrel {

// Sine and cosine of a direction in tenths of a degree; the same values as computing them.
void Direction_Sin_Cos(double tenths, double& sine, double& cosine);

// Distance in tenths from a direction difference to the nearest whole turn (3600 tenths),
// -1800..1800: std::remainder(x, 3600) up to the sign at exactly half a turn.
double Turn_Distance(double x);

}  // namespace vantrel
