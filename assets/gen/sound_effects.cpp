// The 19 sound effects, synthesised: clicks, signals, horns, vehicles,
// people, water and wind. Each is mastered the same way: no DC, soft edges,
// a peak well below clipping.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "framework/zor_record.h"
#include "gen/generator.h"
#include "gen/sound_synth.h"
#include "writers/sound_writers.h"

namespace zorgen {

namespace {

using namespace synth;

// ---- voices, engines and water: the parts several effects share -----------

// A voice saying one syllable: a glottal buzz through two formants.
Wave Syllable(Noise& rnd, double f0, double seconds, double formantScale) {
  static const double vowels[][2] = {{730, 1090}, {530, 1840}, {270, 2290}, {570, 840}, {300, 870}, {660, 1700}};
  const auto& v = vowels[rnd.Next() % 6];
  Biquad f1(Biquad::kBand, v[0] * formantScale, 6), f2(Biquad::kBand, v[1] * formantScale, 8);
  Osc osc;
  const double glide = rnd.Range(-0.25, 0.2);
  Wave w = Silence(seconds);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double f = f0 * (1 + glide * t / seconds);
    const float src = static_cast<float>(osc.Buzz(f, 20) * 0.6 + rnd.White() * 0.05);
    w[i] = static_cast<float>((f1(src) + 0.6 * f2(src)) * Gate(t, seconds, 0.03, 0.06));
  }
  return w;
}

// Several people talking at once.
Wave Babble(Noise& rnd, double seconds, int voices, double f0lo, double f0hi, double formantScale) {
  Wave w = Silence(seconds);
  for (int v = 0; v < voices; ++v) {
    const double f0 = rnd.Range(f0lo, f0hi), gain = rnd.Range(0.4, 1.0);
    for (double t = rnd.Range(0, 0.4); t < seconds - 0.3;) {
      const double len = rnd.Range(0.1, 0.24);
      Mix(w, Syllable(rnd, f0 * rnd.Range(0.9, 1.15), len, formantScale), t, gain);
      t += len + (rnd.Unit() < 0.2 ? rnd.Range(0.2, 0.5) : rnd.Range(0.01, 0.06));
    }
  }
  Filter(w, Biquad::kLow, 3500);
  return w;
}

// An engine: a buzz whose pitch follows `freq(t)` and a little rough noise.
Wave Engine(Noise& rnd, double seconds, const std::function<double(double)>& freq,
            const std::function<double(double)>& level, int harmonics = 10) {
  Wave w = Silence(seconds);
  Osc osc;
  Biquad rough(Biquad::kBand, 380, 0.8);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double f = freq(t);
    w[i] = static_cast<float>(level(t) * (osc.Buzz(f, harmonics) * 0.5 + rough(rnd.White()) * 0.9));
  }
  Filter(w, Biquad::kLow, 1800);
  return w;
}

// A diesel: firing pulses of rough noise over a low hum.
Wave Diesel(Noise& rnd, double seconds, const std::function<double(double)>& rate,
            const std::function<double(double)>& level) {
  Wave w = Silence(seconds);
  Osc pulse, hum;
  Biquad body(Biquad::kBand, 340, 1.0), clatter(Biquad::kBand, 1100, 2.0);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double r = rate(t), p = pulse.Step(r);
    const double knock = std::exp(-p * 7.0);
    const float n = rnd.White();
    w[i] = static_cast<float>(level(t) * ((body(n) * 2.0 + clatter(n) * 1.0) * knock + hum.Buzz(r * 4, 8) * 0.35));
  }
  Filter(w, Biquad::kLow, 1600);
  return w;
}

// A hiss of air: filtered noise, loud at once, dying away.
Wave Air(Noise& rnd, double seconds, double attack, double decay) {
  Wave w = Silence(seconds);
  Biquad hp(Biquad::kHigh, 1800, 0.7), lp(Biquad::kLow, 5000, 0.7);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    w[i] = static_cast<float>(lp(hp(rnd.White())) * Strike(t, attack, decay) * Gate(t, seconds, 0.005, 0.05));
  }
  return w;
}

// A splash: a dull thump, a burst of spray and falling droplets.
Wave Splash(Noise& rnd, double seconds, double size) {
  Wave w = Silence(seconds);
  Biquad spray(Biquad::kBand, 1800, 0.8), soft(Biquad::kLow, 4500, 0.7), thump(Biquad::kBand, 140, 1.0);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const float n = rnd.White();
    w[i] = static_cast<float>(soft(spray(n)) * Strike(t, 0.01, 0.12 * size) * 1.2 + thump(n) * Strike(t, 0.004, 0.05) * 3.0 * size);
  }
  for (int d = 0; d < static_cast<int>(14 * size); ++d) {
    const double at = rnd.Range(0.05, std::max(0.1, seconds - 0.1)), len = rnd.Range(0.02, 0.05);
    const double f = rnd.Range(900, 2400);
    Wave drop = Silence(len);
    Osc o;
    for (size_t i = 0; i < drop.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      drop[i] = static_cast<float>(o.Sine(f * (1 + 1.5 * t / len)) * Strike(t, 0.002, len / 3));
    }
    Mix(w, drop, at, rnd.Range(0.08, 0.2));
  }
  return w;
}

// A bubble rising in water: a short sine gliding upwards.
Wave Bubble(Noise& rnd) {
  const double len = rnd.Range(0.02, 0.06), f = rnd.Range(350, 1100);
  Wave w = Silence(len);
  Osc o;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    w[i] = static_cast<float>(o.Sine(f * (1 + 0.7 * t / len)) * Strike(t, 0.003, len / 2.5));
  }
  return w;
}

// A car horn: two reed-like tones a major third apart.
Wave Honk(double low, double seconds) {
  Wave w = Silence(seconds);
  Osc a, b;
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    w[i] = static_cast<float>((a.Buzz(low, 12) + b.Buzz(low * 1.26, 12)) * Gate(t, seconds, 0.015, 0.04));
  }
  Filter(w, Biquad::kBand, low * 3, 0.5);
  Filter(w, Biquad::kLow, 2600);
  return w;
}

// ---- the effects ---------------------------------------------------------------------

Wave Klick(Noise& rnd) {
  Wave w = Silence(0.05);
  Biquad snap(Biquad::kBand, 3200, 1.5);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    w[i] = static_cast<float>(snap(rnd.White()) * Strike(t, 0.0005, 0.003) * 3 +
                              std::sin(2 * kPi * 1800 * t) * Strike(t, 0.0008, 0.005) * 0.6 +
                              std::sin(2 * kPi * 620 * t) * Strike(t, 0.001, 0.008) * 0.35);
  }
  return w;
}

Wave Ampel(Noise& rnd) {
  // The relay of the signal changing, then the soft tone of the crossing.
  Wave w = Silence(0.7);
  for (double at : {0.0, 0.045}) {
    Wave clack = Silence(0.04);
    Biquad body(Biquad::kBand, 1100, 2.0);
    for (size_t i = 0; i < clack.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      clack[i] = static_cast<float>(body(rnd.White()) * Strike(t, 0.0005, 0.006) * 3);
    }
    Mix(w, clack, at, at == 0 ? 1.0 : 0.6);
  }
  Mix(w, Bell(988, 0.45, {1.0, 2.0, 3.0}, 0.12), 0.15, 0.35);
  return w;
}

Wave Wind(Noise& rnd) {
  const double len = 4.0;
  Wave w = Silence(len);
  Biquad band(Biquad::kBand, 500, 1.5);
  Biquad low(Biquad::kLow, 900, 0.7);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    if (i % 64 == 0) band.Set(Biquad::kBand, 420 + 220 * std::sin(2 * kPi * 0.31 * t) + 90 * std::sin(2 * kPi * 0.83 * t), 1.5);
    const double gust = 0.6 + 0.4 * std::sin(2 * kPi * 0.23 * t + 1.0) * std::sin(2 * kPi * 0.41 * t);
    w[i] = static_cast<float>((band(rnd.White()) * 1.5 + low(rnd.White()) * 0.3) * gust * Gate(t, len, 0.8, 1.0));
  }
  return w;
}

Wave VrkStart(Noise& rnd) {
  const double len = 2.8;
  Wave w = Engine(
      rnd, len, [](double t) { return 70 + 80 * std::min(t / 2.0, 1.0) - 20 * std::max(0.0, t - 1.3); },
      [=](double t) { return (0.4 + 0.6 * std::min(t / 1.2, 1.0)) * Gate(t, len, 0.2, 0.7); });
  Mix(w, Engine(
             rnd, len - 0.6, [](double t) { return 80 + 70 * std::min(t / 1.6, 1.0); },
             [=](double t) { return 0.5 * Gate(t, len - 0.6, 0.3, 0.6); }, 8),
      0.6);
  return w;
}

Wave VrkMittel(Noise& rnd) {
  const double len = 4.0;
  Wave w = Silence(len);
  Biquad rumble(Biquad::kLow, 160, 0.7);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    w[i] = static_cast<float>(rumble(rnd.White()) * 1.2 * Gate(t, len, 0.6, 0.8));
  }
  // Cars passing by, each rising and falling with a slight fall of pitch.
  for (double pass : {0.6, 1.4, 2.1, 2.9, 3.4}) {
    const double f0 = rnd.Range(80, 120), width = rnd.Range(0.35, 0.6);
    Wave car = Engine(
        rnd, len, [=](double t) { return f0 * (1 + 0.05 * std::tanh((pass - t) * 3)); },
        [=](double t) { return std::exp(-(t - pass) * (t - pass) / (2 * width * width)) * Gate(t, len, 0.3, 0.6); });
    Biquad tyres(Biquad::kBand, 700, 0.8);
    for (size_t i = 0; i < car.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      car[i] += static_cast<float>(tyres(rnd.White()) * 0.5 * std::exp(-(t - pass) * (t - pass) / (2 * width * width)));
    }
    Mix(w, car, 0, rnd.Range(0.6, 1.0));
  }
  return w;
}

Wave Schwimm(Noise& rnd) {
  const double len = 3.2;
  Wave w = Silence(len);
  // Arm strokes in a steady rhythm, and the murmur of the pool behind.
  for (double t = 0.15; t < len - 0.5; t += 0.62) Mix(w, Splash(rnd, 0.45, 0.5), t + rnd.Range(-0.04, 0.04), 0.9);
  for (int b = 0; b < 25; ++b) Mix(w, Bubble(rnd), rnd.Range(0.1, len - 0.2), 0.12);
  Mix(w, Babble(rnd, len, 4, 120, 260, 1.0), 0, 0.05);
  return w;
}

Wave Sblos(Noise& rnd) {
  const double len = 3.2;
  // The tram's bell twice, then the motors winding up over the rails.
  Wave w = Silence(len);
  for (double at : {0.0, 0.28}) Mix(w, Bell(1318, 0.9, {1.0, 2.76, 5.4, 8.93}, 0.35), at, 0.35);
  Wave motor = Silence(len - 0.5);
  Osc o;
  Biquad wheels(Biquad::kLow, 300, 0.7);
  const double mlen = Seconds(motor);
  for (size_t i = 0; i < motor.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double f = 180 + 380 * std::pow(t / mlen, 0.8);
    motor[i] = static_cast<float>((o.Sine(f) * 0.5 + wheels(rnd.White()) * 1.5) *
                                  std::min(1.0, t / 0.8) * Gate(t, mlen, 0.1, 0.9));
  }
  for (double at = 0.7; at < len - 0.8; at += 0.55) {
    Wave joint = Silence(0.06);
    Biquad clunk(Biquad::kBand, 260, 2);
    for (size_t i = 0; i < joint.size(); ++i) joint[i] = static_cast<float>(clunk(rnd.White()) * Strike(i / double(kRate), 0.001, 0.01) * 3);
    Mix(motor, joint, at - 0.5, 0.6);
  }
  Mix(w, motor, 0.5, 0.7);
  return w;
}

Wave Sbhalt(Noise& rnd) {
  const double len = 2.6;
  Wave w = Silence(len);
  Osc o;
  Biquad wheels(Biquad::kLow, 280, 0.7), squeal(Biquad::kBand, 2300, 12);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double f = 520 - 360 * std::min(t / 1.9, 1.0);
    const double moving = 1 - std::min(t / 2.0, 1.0);
    w[i] = static_cast<float>((o.Sine(f) * 0.4 + wheels(rnd.White()) * 1.4) * (0.2 + 0.8 * moving) +
                              squeal(rnd.White()) * 0.5 * Gate(t, 1.9, 0.9, 0.4));
  }
  Mix(w, Air(rnd, 0.7, 0.02, 0.25), 1.85, 0.35);
  return w;
}

Wave LeuteLaut(Noise& rnd) { return Babble(rnd, 3.2, 12, 95, 240, 1.0); }

Wave Kinder(Noise& rnd) {
  const double len = 3.2;
  Wave w = Babble(rnd, len, 7, 260, 420, 1.25);
  // A laugh: quick "ha"s falling in pitch.
  for (double start : {0.5, 1.9}) {
    const double f0 = rnd.Range(330, 420);
    for (int k = 0; k < 5; ++k) Mix(w, Syllable(rnd, f0 * (1 - 0.05 * k), 0.09, 1.3), start + 0.13 * k, 1.1);
  }
  return w;
}

Wave Ind(Noise& rnd) {
  const double len = 3.0;
  Wave w = Silence(len);
  Osc hum;
  Biquad steam(Biquad::kHigh, 2500, 0.7);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    w[i] = static_cast<float>((hum.Buzz(100, 6) * 0.25 + steam(rnd.White()) * 0.12) * Gate(t, len, 0.3, 0.5));
  }
  // A press thumping twice a second, with a metal clank on every other stroke.
  int beat = 0;
  for (double at = 0.25; at < len - 0.4; at += 0.5, ++beat) {
    Wave thump = Silence(0.3);
    Biquad body(Biquad::kLow, 150, 1.0);
    for (size_t i = 0; i < thump.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      thump[i] = static_cast<float>((std::sin(2 * kPi * 58 * t) * 0.8 + body(rnd.White()) * 1.5) * Strike(t, 0.003, 0.07));
    }
    Mix(w, thump, at, 1.0);
    if (beat % 2) Mix(w, Bell(620, 0.4, {1.0, 2.32, 4.25}, 0.08), at + 0.12, 0.2);
  }
  return w;
}

Wave Horn5(Noise&) {
  Wave w = Silence(1.05);
  Mix(w, Honk(370, 0.32), 0.02);
  Mix(w, Honk(370, 0.5), 0.48);
  return w;
}

Wave Horn1(Noise&) {
  Wave w = Silence(0.5);
  Mix(w, Honk(415, 0.42), 0.02);
  return w;
}

Wave Fluss(Noise& rnd) {
  const double len = 4.0;
  Wave w = Silence(len);
  Biquad flow(Biquad::kBand, 900, 0.9), low(Biquad::kLow, 400, 0.7);
  for (size_t i = 0; i < w.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double ripple = 0.75 + 0.25 * std::sin(2 * kPi * 0.7 * t) * std::sin(2 * kPi * 1.9 * t + 0.5);
    w[i] = static_cast<float>((flow(rnd.White()) * 0.5 + low(rnd.White()) * 0.3) * ripple * Gate(t, len, 0.6, 0.8));
  }
  for (int b = 0; b < 120; ++b) Mix(w, Bubble(rnd), rnd.Range(0.2, len - 0.3), rnd.Range(0.05, 0.15));
  return w;
}

Wave Einkauf(Noise& rnd) {
  const double len = 1.6;
  Wave w = Silence(len);
  // The till: the drawer's latch and run, then its bell.
  Wave drawer = Silence(0.25);
  Biquad slide(Biquad::kBand, 500, 1.0);
  for (size_t i = 0; i < drawer.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    drawer[i] = static_cast<float>(slide(rnd.White()) * Gate(t, 0.25, 0.02, 0.05) * 0.8 +
                                   (t < 0.01 ? rnd.White() * Strike(t, 0.0005, 0.003) : 0));
  }
  Mix(w, drawer, 0.0, 0.8);
  Mix(w, Bell(2093, 1.2, {1.0, 2.0, 3.0}, 0.3), 0.18, 0.45);
  Mix(w, Bell(2637, 1.1, {1.0, 2.0, 3.0}, 0.25), 0.26, 0.3);
  Mix(w, Babble(rnd, len, 3, 110, 230, 1.0), 0, 0.06);
  return w;
}

Wave Bswarten(Noise& rnd) {
  const double len = 3.0;
  return Diesel(
      rnd, len, [](double t) { return 13 + 0.4 * std::sin(2 * kPi * 0.5 * t); },
      [=](double t) { return Gate(t, len, 0.4, 0.6); });
}

Wave Bslos(Noise& rnd) {
  const double len = 3.2;
  Wave w = Silence(len);
  Mix(w, Air(rnd, 0.6, 0.01, 0.15), 0.0, 0.3);
  Mix(w, Diesel(
             rnd, len - 0.3, [](double t) { return 13 + 17 * std::min(t / 2.2, 1.0); },
             [=](double t) { return (0.5 + 0.5 * std::min(t / 1.5, 1.0)) * Gate(t, len - 0.3, 0.2, 0.8); }),
      0.3, 1.0);
  return w;
}

Wave Bsbremsen(Noise& rnd) {
  const double len = 2.0;
  Wave w = Diesel(
      rnd, len, [](double t) { return 24 - 11 * std::min(t / 1.3, 1.0); },
      [=](double t) { return (1 - 0.4 * std::min(t / 1.3, 1.0)) * Gate(t, len, 0.15, 0.5); });
  Wave squeal = Silence(1.2);
  Biquad s(Biquad::kBand, 1900, 14);
  for (size_t i = 0; i < squeal.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    squeal[i] = static_cast<float>(s(rnd.White()) * Gate(t, 1.2, 0.4, 0.3));
  }
  Mix(w, squeal, 0.1, 0.5);
  Mix(w, Air(rnd, 0.6, 0.01, 0.18), 1.35, 0.45);
  return w;
}

Wave Bad(Noise& rnd) {
  const double len = 3.2;
  Wave w = Silence(len);
  // Someone jumps in; children cheer by the water.
  Mix(w, Splash(rnd, 1.2, 1.0), 0.3, 1.0);
  Mix(w, Splash(rnd, 0.6, 0.5), 1.8, 0.5);
  Mix(w, Babble(rnd, len, 6, 260, 420, 1.25), 0, 0.22);
  return w;
}

// DC removed, soft edges (no click at either end), peak at `peak` of full
// scale.
std::vector<int16_t> Master(Wave w, double peak) {
  Filter(w, Biquad::kHigh, 30);
  double mean = 0;
  for (float s : w) mean += s;
  mean /= std::max<size_t>(w.size(), 1);
  const double len = Seconds(w);
  for (size_t i = 0; i < w.size(); ++i) w[i] = static_cast<float>((w[i] - mean) * Gate(i / double(kRate), len, 0.004, 0.03));
  float top = 1e-9f;
  for (float s : w) top = std::max(top, std::fabs(s));
  std::vector<int16_t> out(w.size());
  for (size_t i = 0; i < w.size(); ++i) out[i] = static_cast<int16_t>(std::lround(w[i] / top * peak * 32767));
  return out;
}

struct EffectRow {
  const char* file;
  Wave (*make)(Noise&);
  double peak;
};

// In the order of the game's effect numbers.
const EffectRow kEffects[] = {
    {"KLICK", Klick, 0.5},        {"AMPEL", Ampel, 0.5},       {"WIND", Wind, 0.55},
    {"VRK_START", VrkStart, 0.6}, {"VRK_MITTEL", VrkMittel, 0.6}, {"SCHWIMM", Schwimm, 0.6},
    {"SBLOS", Sblos, 0.6},        {"SBHALT", Sbhalt, 0.6},     {"LEUTE_LAUT", LeuteLaut, 0.6},
    {"KINDER", Kinder, 0.6},      {"IND", Ind, 0.6},           {"HORN5", Horn5, 0.55},
    {"HORN1", Horn1, 0.55},       {"FLUSS", Fluss, 0.6},       {"EINKAUF", Einkauf, 0.55},
    {"BSWARTEN", Bswarten, 0.6},  {"BSLOS", Bslos, 0.6},       {"BSBREMSEN", Bsbremsen, 0.6},
    {"BAD", Bad, 0.6}};

}  // namespace

bool ProduceSoundEffects(const std::string& soundDir) {
  std::error_code ec;
  std::filesystem::create_directories(soundDir, ec);
  bool ok = true;
  uint32_t seed = 0x5EED;
  for (const EffectRow& e : kEffects) {
    Noise rnd(seed += 7919);
    const Bytes wav = WriteWav(Master(e.make(rnd), e.peak), kRate);
    const std::string path = soundDir + "/" + e.file + ".BIN";
    if (!ZorWriteFile(path.c_str(), wav.data(), wav.size())) {
      std::fprintf(stderr, "zor_gamedata: cannot write %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace zorgen
