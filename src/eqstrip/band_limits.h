#pragma once
// The limits within which the strip's editing paths hold a band. Values the host sets from
// code are stored as given.

namespace korvanex::strip {

constexpr double kMaxGain = 12.0; // and -12 below
constexpr double kMinQ = 0.3;
constexpr double kMaxQ = 15.0;
constexpr double kMinF = 20.0;
constexpr double kMaxF = 20000.0;

} // namespace korvanex::strip
