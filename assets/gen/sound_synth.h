#pragma once
// Small building blocks of the effect synthesis: a repeatable noise source,
// oscillators, filters and envelopes over float samples in -1 .. 1 at the
// game's 22050 Hz.
#include <cmath>
#include <cstdint>
#include <vector>

namespace zorgen::synth {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

using Wave = std::vector<float>;

inline Wave Silence(double seconds) { return Wave(static_cast<size_t>(seconds * kRate), 0.0f); }
inline double Seconds(const Wave& w) { return static_cast<double>(w.size()) / kRate; }

// xorshift: the same sounds on every run.
class Noise {
 public:
  explicit Noise(uint32_t seed) : m_s(seed ? seed : 1) {}
  uint32_t Next() {
    m_s ^= m_s << 13;
    m_s ^= m_s >> 17;
    m_s ^= m_s << 5;
    return m_s;
  }
  // Uniform in [0, 1).
  double Unit() { return (Next() >> 8) / 16777216.0; }
  // Uniform in [lo, hi).
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  // White noise in -1 .. 1.
  float White() { return static_cast<float>(Unit() * 2.0 - 1.0); }

 private:
  uint32_t m_s;
};

// The RBJ biquad: low pass, high pass or band pass (constant peak gain).
class Biquad {
 public:
  enum Kind { kLow, kHigh, kBand };
  Biquad(Kind kind, double freq, double q) { Set(kind, freq, q); }
  void Set(Kind kind, double freq, double q) {
    const double w = 2 * kPi * std::fmin(freq, kRate * 0.45) / kRate;
    const double alpha = std::sin(w) / (2 * q), c = std::cos(w);
    double b0, b1, b2;
    if (kind == kLow) {
      b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2;
    } else if (kind == kHigh) {
      b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2;
    } else {
      b0 = alpha, b1 = 0, b2 = -alpha;
    }
    const double a0 = 1 + alpha;
    m_b0 = b0 / a0, m_b1 = b1 / a0, m_b2 = b2 / a0, m_a1 = -2 * c / a0, m_a2 = (1 - alpha) / a0;
  }
  float operator()(float x) {
    const double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1, m_x1 = x, m_y2 = m_y1, m_y1 = y;
    return static_cast<float>(y);
  }

 private:
  double m_b0 = 0, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
  double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

inline void Filter(Wave& w, Biquad::Kind kind, double freq, double q = 0.707) {
  Biquad f(kind, freq, q);
  for (float& s : w) s = f(s);
}

// A phase accumulator, so that gliding pitches stay smooth.
class Osc {
 public:
  double Step(double freq) {
    m_phase += freq / kRate;
    m_phase -= std::floor(m_phase);
    return m_phase;
  }
  double Sine(double freq) { return std::sin(2 * kPi * Step(freq)); }
  // A band-limited-enough buzz: the first `harmonics` partials at 1/k.
  double Buzz(double freq, int harmonics) {
    const double p = Step(freq);
    double s = 0;
    for (int k = 1; k <= harmonics && k * freq < kRate * 0.45; ++k) s += std::sin(2 * kPi * k * p) / k;
    return s;
  }

 private:
  double m_phase = 0;
};

// Adds `src` into `dst` from `at` seconds on, scaled.
inline void Mix(Wave& dst, const Wave& src, double at, double gain = 1.0) {
  const size_t start = static_cast<size_t>(at * kRate);
  if (start + src.size() > dst.size()) dst.resize(start + src.size(), 0.0f);
  for (size_t i = 0; i < src.size(); ++i) dst[start + i] += static_cast<float>(src[i] * gain);
}

// Rises from 0 over `attack` seconds and falls exponentially with `decay`.
inline double Strike(double t, double attack, double decay) {
  if (t < 0) return 0;
  return (t < attack ? t / attack : 1.0) * std::exp(-t / decay);
}

// 0 .. 1 .. 0 with raised-cosine edges of `in` and `out` seconds.
inline double Gate(double t, double length, double in, double out) {
  if (t < 0 || t > length) return 0;
  double g = 1;
  if (t < in) g = 0.5 - 0.5 * std::cos(kPi * t / in);
  if (length - t < out) g *= 0.5 - 0.5 * std::cos(kPi * (length - t) / out);
  return g;
}

// A struck bell or chime: inharmonic partials, each decaying on its own.
inline Wave Bell(double freq, double seconds, const std::vector<double>& ratios, double decay) {
  Wave w = Silence(seconds);
  for (size_t k = 0; k < ratios.size(); ++k) {
    const double f = freq * ratios[k], tau = decay / (1 + 0.6 * k), amp = 1.0 / (1 + k);
    for (size_t i = 0; i < w.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      w[i] += static_cast<float>(amp * Strike(t, 0.002, tau) * std::sin(2 * kPi * f * t));
    }
  }
  return w;
}

}  // namespace zorgen::synth
