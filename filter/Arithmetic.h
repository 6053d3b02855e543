// 32-bit integer arithmetic that wraps instead of overflowing, and the
// conversions from doubles to 32-bit integers, for the nodes' evaluation.
// Division by zero raises the host's errors; nothing here is undefined for
// any input.
#pragma once

#include <cmath>
#include <cstdint>

#include "vorn/host/Exceptions.h"

namespace vorn::filter {

inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

inline int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

inline int32_t WrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

inline int32_t WrapNeg(int32_t a) {
  return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}

// Truncating quotient; the one overflowing case (minimum / -1) wraps.
inline int32_t IntDiv(int32_t a, int32_t b) {
  if (b == 0) throw EDivByZero();
  if (b == -1) return WrapNeg(a);
  return a / b;
}

// Remainder with the sign of the dividend.
inline int32_t IntMod(int32_t a, int32_t b) {
  if (b == 0) throw EDivByZero();
  if (b == -1) return 0;
  return a % b;
}

inline int32_t ShiftLeft(int32_t a, int32_t count) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) << (count & 31));
}

// Logical: the sign bit is not carried in.
inline int32_t ShiftRight(int32_t a, int32_t count) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) >> (count & 31));
}

// A floating-point result as the host's arithmetic reports it: not a
// number raises EInvalidOp, an infinity (an overflow, LN(0), EXP(1000))
// raises EOverflow. Neither may flow on into comparisons, where it would
// compare as the text "NAN" or "INF".
inline double CheckedFloat(double value) {
  if (std::isnan(value)) throw EInvalidOp();
  if (std::isinf(value)) throw EOverflow();
  return value;
}

// Raises EZeroDivide for a zero divisor (EInvalidOp for 0 / 0), EOverflow
// for a quotient beyond the double range.
inline double FloatDivide(double a, double b) {
  if (b == 0) {
    if (a == 0 || std::isnan(a)) throw EInvalidOp();
    throw EZeroDivide();
  }
  return CheckedFloat(a / b);
}

// An already integral double as a 32-bit integer; NaN or a value beyond
// 32 bits raises EInvalidOp.
inline int32_t IntegralToInt32(double value) {
  if (!(value >= -2147483648.0 && value <= 2147483647.0)) throw EInvalidOp();
  return static_cast<int32_t>(value);
}

inline int32_t TruncToInt32(double value) {
  return IntegralToInt32(std::trunc(value));
}

// Nearest integer, halves to the even neighbour.
inline int32_t RoundToInt32(double value) {
  double whole = std::trunc(value);
  double rest = value - whole;
  bool awayFromZero =
      std::fabs(rest) > 0.5 || (std::fabs(rest) == 0.5 && std::fmod(whole, 2.0) != 0);
  if (awayFromZero) whole += rest > 0 ? 1 : -1;
  return IntegralToInt32(whole);
}

}  // namespace vorn::filter
