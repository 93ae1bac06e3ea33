// The nine pieces of background music, composed as standard MIDI files.
// Each piece is a calm song form: an introduction, a theme (A) stated
// twice, a contrasting middle (B), the theme again and a closing cadence.
// The tune grows from two short motifs of the piece, bent onto each bar's
// chord, over an accompaniment figure, a bass line and a sustained pad.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/zor_record.h"
#include "gen/generator.h"
#include "writers/sound_writers.h"

namespace zorgen {

namespace {

constexpr int kDivision = 480;  // ticks per quarter note
constexpr int kEighth = kDivision / 2;

// A note of a motif: scale steps above the bar's chord root, and its length
// in eighths.
struct MotifNote {
  int step;
  int eighths;
};
using Motif = std::vector<MotifNote>;

enum class Figure { Arpeggio, Waltz, Broken, Block };

struct Piece {
  const char* title;
  double bpm;
  int beats;   // quarter notes per bar: 3 or 4
  int tonic;   // MIDI key of the tonic in the tune's octave
  bool minor;
  int melody, accompaniment, pad, bass;  // General MIDI programs
  Figure figure;
  int progressionA[8];  // chord roots as scale degrees, 0 = tonic
  int progressionB[8];
  Motif motifA, motifB;
};

const int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
const int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

// 4/4 motifs (8 eighths) and 3/4 motifs (6 eighths).
const Motif kRising = {{4, 2}, {2, 1}, {3, 1}, {4, 2}, {7, 2}};
const Motif kFalling = {{2, 3}, {1, 1}, {0, 2}, {2, 2}};
const Motif kTurn = {{0, 1}, {2, 1}, {4, 2}, {5, 1}, {4, 1}, {2, 2}};
const Motif kSigh = {{7, 2}, {6, 1}, {4, 1}, {2, 2}, {4, 2}};
const Motif kCall = {{4, 4}, {5, 2}, {4, 2}};
const Motif kLeap = {{2, 1}, {4, 1}, {7, 3}, {6, 1}, {4, 2}};
const Motif kWaltzUp = {{4, 3}, {2, 1}, {4, 2}};
const Motif kWaltzSteps = {{0, 2}, {2, 2}, {4, 2}};
const Motif kWaltzFall = {{7, 2}, {6, 1}, {4, 1}, {2, 2}};
const Motif kWaltzLong = {{4, 4}, {2, 2}};

const Piece kPieces[9] = {
    {"Morgen am Fluss", 76, 4, 72, false, 73, 0, 48, 32, Figure::Arpeggio,
     {0, 5, 3, 4, 0, 3, 4, 0}, {3, 4, 2, 5, 1, 4, 3, 4}, kRising, kFalling},
    {"Walzer im Park", 84, 3, 69, true, 71, 46, 49, 42, Figure::Waltz,
     {0, 3, 4, 0, 5, 3, 4, 0}, {2, 6, 2, 5, 3, 6, 4, 4}, kWaltzUp, kWaltzFall},
    {"Stille Strassen", 68, 4, 65, false, 11, 24, 89, 35, Figure::Arpeggio,
     {0, 3, 0, 4, 5, 3, 4, 0}, {5, 2, 3, 0, 1, 4, 5, 4}, kTurn, kSigh},
    {"Gruene Welle", 80, 4, 74, false, 60, 0, 48, 43, Figure::Broken,
     {0, 4, 5, 2, 3, 0, 1, 4}, {3, 0, 3, 4, 5, 1, 4, 4}, kCall, kLeap},
    {"Regen am Abend", 70, 4, 64, true, 0, 48, 52, 42, Figure::Block,
     {0, 5, 2, 6, 3, 0, 4, 0}, {5, 2, 6, 0, 3, 5, 4, 4}, kSigh, kFalling},
    {"Sonntagsausflug", 90, 3, 67, false, 74, 24, 48, 45, Figure::Waltz,
     {0, 4, 0, 3, 0, 5, 4, 0}, {3, 0, 1, 4, 5, 3, 1, 4}, kWaltzSteps, kWaltzLong},
    {"Nachtbus", 72, 4, 70, false, 4, 52, 89, 33, Figure::Broken,
     {0, 2, 3, 4, 0, 2, 3, 0}, {5, 1, 4, 0, 5, 3, 1, 4}, kLeap, kTurn},
    {"Alte Bruecke", 66, 4, 62, true, 42, 46, 48, 43, Figure::Arpeggio,
     {0, 3, 6, 2, 5, 3, 4, 0}, {3, 6, 2, 5, 1, 4, 4, 4}, kFalling, kCall},
    {"Marktplatz", 78, 3, 63, false, 12, 0, 48, 32, Figure::Waltz,
     {0, 3, 4, 0, 5, 1, 4, 0}, {3, 4, 0, 5, 1, 4, 2, 4}, kWaltzFall, kWaltzUp},
};

class Composer {
 public:
  explicit Composer(const Piece& p) : m_p(p), m_bar(p.beats * kDivision) {}

  std::vector<MidiTrack> Compose() {
    Setup();
    int bar = 0;
    // Introduction: two bars of the accompaniment on the tonic.
    for (int i = 0; i < 2; ++i) Harmony(bar++, 0, 0.8);
    Section(bar, m_p.progressionA, m_p.motifA, m_p.motifB, 0, 1.0);
    Section(bar, m_p.progressionA, m_p.motifA, m_p.motifB, 2, 1.0);
    Section(bar, m_p.progressionB, m_p.motifB, m_p.motifA, 0, 1.12);
    Section(bar, m_p.progressionA, m_p.motifA, m_p.motifB, 0, 0.95);
    // Close: the tonic held while the tempo broadens.
    Harmony(bar, 0, 0.8);
    Melody(bar * m_bar, m_bar * 2, Pitch(0, 0, 0), 70);
    m_tracks[0].Tempo(static_cast<uint32_t>(bar * m_bar), m_p.bpm * 0.85);
    ++bar;
    Pad(bar, 0, m_bar, 0.8);
    Bass(bar, 0, m_bar, 0.8);
    m_tracks[0].Tempo(static_cast<uint32_t>(bar * m_bar), m_p.bpm * 0.7);
    return m_tracks;
  }

 private:
  void Setup() {
    m_tracks.resize(5);
    m_tracks[0].Name(m_p.title);
    m_tracks[0].Tempo(0, m_p.bpm);
    m_tracks[0].TimeSignature(0, m_p.beats, 2);
    const int programs[4] = {m_p.melody, m_p.accompaniment, m_p.pad, m_p.bass};
    const int volumes[4] = {127, 100, 84, 110};
    const int pans[4] = {70, 50, 80, 60};
    static const char* names[4] = {"Melodie", "Begleitung", "Flaeche", "Bass"};
    for (int c = 0; c < 4; ++c) {
      MidiTrack& t = m_tracks[c + 1];
      t.Name(names[c]);
      t.Program(0, c, programs[c]);
      t.Control(0, c, 7, volumes[c]);
      t.Control(0, c, 10, pans[c]);
      t.Control(0, c, 91, 60);  // reverb
    }
  }

  // The MIDI key of scale degree `degree` (may exceed 6) over the chord on
  // `root`, `octave` octaves from the tune's octave. In minor the chord on
  // the fifth degree takes the leading note.
  int Pitch(int degree, int root, int octave) const {
    const int* scale = m_p.minor ? kMinor : kMajor;
    const int d = ((degree % 7) + 7) % 7;
    const int octaves = (degree - d) / 7;
    int key = m_p.tonic + 12 * (octaves + octave) + scale[d];
    if (m_p.minor && ((root % 7) + 7) % 7 == 4 && d == 6) ++key;
    return key;
  }

  void Section(int& bar, const int (&progression)[8], const Motif& first, const Motif& second, int lift,
               double strength) {
    for (int i = 0; i < 8; ++i, ++bar) {
      const int root = progression[i];
      Harmony(bar, root, strength);
      const int start = bar * m_bar;
      if (i == 3) {
        // Half close: a long chord tone.
        Cadence(start, root, 2, strength);
      } else if (i == 7) {
        // Full close on the root.
        Cadence(start, root, 0, strength);
      } else {
        const Motif& m = (i == 1 || i == 5) ? second : first;
        // The repeat lifts the answering bars by a third.
        const int shift = (i >= 4 && i != 7) ? lift : 0;
        Phrase(start, root, m, shift, strength);
      }
    }
  }

  // One bar of the tune: the motif on the chord, moved by octaves as a whole
  // to lie nearest the note before.
  void Phrase(int start, int root, const Motif& motif, int shift, double strength) {
    std::vector<int> keys;
    for (const MotifNote& n : motif) keys.push_back(Pitch(root + n.step + shift, root, 0));
    int move = 0;
    if (m_lastMelody > 0) {
      while (keys[0] + move - m_lastMelody > 6) move -= 12;
      while (m_lastMelody - (keys[0] + move) > 6) move += 12;
    }
    // Keep the tune in its register.
    const int high = *std::max_element(keys.begin(), keys.end()) + move;
    const int low = *std::min_element(keys.begin(), keys.end()) + move;
    if (high > m_p.tonic + 19) move -= 12;
    if (low < m_p.tonic - 7) move += 12;
    int t = start;
    for (size_t i = 0; i < motif.size(); ++i) {
      const int length = motif[i].eighths * kEighth;
      const int accent = (t - start) % kDivision == 0 ? 8 : 0;
      Melody(t, length - 20, keys[i] + move, static_cast<int>((80 + accent + Wobble()) * strength));
      t += length;
    }
    m_lastMelody = keys.back() + move;
  }

  void Cadence(int start, int root, int step, double strength) {
    int key = Pitch(root + step, root, 0);
    while (m_lastMelody > 0 && key - m_lastMelody > 6) key -= 12;
    while (m_lastMelody > 0 && m_lastMelody - key > 6) key += 12;
    while (key > m_p.tonic + 14) key -= 12;
    while (key < m_p.tonic - 7) key += 12;
    Melody(start, m_bar - 40, key, static_cast<int>(78 * strength));
    m_lastMelody = key;
  }

  void Melody(int tick, int length, int key, int velocity) {
    m_tracks[1].Note(static_cast<uint32_t>(tick), static_cast<uint32_t>(length), 0, key, velocity);
  }

  // Accompaniment, pad and bass of one bar.
  void Harmony(int bar, int root, double strength) {
    const int start = bar * m_bar;
    Accompany(start, root, strength);
    Pad(bar, root, m_bar, strength);
    Bass(bar, root, m_bar, strength);
  }

  void Accompany(int start, int root, double strength) {
    MidiTrack& t = m_tracks[2];
    const int v = static_cast<int>(62 * strength);
    auto note = [&](int at, int length, int degree, int vel) {
      t.Note(static_cast<uint32_t>(start + at), static_cast<uint32_t>(length), 1, Pitch(root + degree, root, -1),
             vel + Wobble());
    };
    switch (m_p.figure) {
      case Figure::Arpeggio: {
        static const int up[8] = {0, 4, 7, 9, 11, 9, 7, 4};
        for (int i = 0; i < m_p.beats * 2; ++i) note(i * kEighth, kEighth * 2, up[i], v - (i % 2) * 6);
        break;
      }
      case Figure::Waltz:
        note(0, kDivision - 30, 0, v + 4);
        for (int b = 1; b < m_p.beats; ++b)
          for (int d : {2, 4, 7}) note(b * kDivision, kDivision - 60, d, v - 8);
        break;
      case Figure::Broken: {
        static const int walk[4] = {0, 4, 9, 4};
        for (int b = 0; b < m_p.beats; ++b) note(b * kDivision, kDivision - 30, walk[b % 4], v - (b % 2) * 5);
        break;
      }
      case Figure::Block:
        for (int d : {0, 2, 4}) note(0, m_bar - 30, d, v - 6);
        for (int d : {2, 4, 7}) note(m_bar / 2, m_bar / 2 - 30, d, v - 12);
        break;
    }
  }

  void Pad(int bar, int root, int length, double strength) {
    for (int d : {2, 4, 7})
      m_tracks[3].Note(static_cast<uint32_t>(bar * m_bar), static_cast<uint32_t>(length - 10), 2,
                       Pitch(root + d, root, -1), static_cast<int>(48 * strength));
  }

  void Bass(int bar, int root, int length, double strength) {
    const int key = Pitch(root, root, -2);
    const int v = static_cast<int>(74 * strength);
    const uint32_t start = static_cast<uint32_t>(bar * m_bar);
    if (m_p.beats == 4 && length == m_bar) {
      m_tracks[4].Note(start, kDivision * 2 - 30, 3, key, v);
      m_tracks[4].Note(start + kDivision * 2, kDivision * 2 - 30, 3, Pitch(root + 4, root, -2) - 12, v - 8);
    } else {
      m_tracks[4].Note(start, static_cast<uint32_t>(length - 30), 3, key, v);
    }
  }

  // A small, repeatable unevenness of touch.
  int Wobble() {
    m_wobble = m_wobble * 1103515245u + 12345u;
    return static_cast<int>((m_wobble >> 16) % 7) - 3;
  }

  const Piece& m_p;
  const int m_bar;
  std::vector<MidiTrack> m_tracks;
  int m_lastMelody = 0;
  uint32_t m_wobble = 2024;
};

}  // namespace

bool ProduceMusic(const std::string& soundDir) {
  bool ok = true;
  for (int i = 0; i < 9; ++i) {
    Composer composer(kPieces[i]);
    const Bytes midi = WriteMidi(kDivision, composer.Compose());
    char name[32];
    std::snprintf(name, sizeof name, "/ATMO%d.MID", i + 1);
    const std::string path = soundDir + name;
    if (!ZorWriteFile(path.c_str(), midi.data(), midi.size())) {
      std::fprintf(stderr, "zor_gamedata: cannot write %s\n", path.c_str());
      ok = false;
    }
  }
  return ok;
}

}  // namespace zorgen
