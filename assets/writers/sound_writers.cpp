#include "writers/sound_writers.h"

#include <algorithm>
#include <cmath>

namespace zorgen {

namespace {

void Tag(Bytes& b, const char* four) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(four[i]));
}

void BigEndian(Bytes& b, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void VariableLength(Bytes& b, uint32_t v) {
  uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = static_cast<uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v && n < 5);
  while (n > 1) b.push_back(groups[--n] | 0x80);
  b.push_back(groups[0]);
}

uint8_t Seven(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 127)); }

}  // namespace

Bytes WriteWav(const std::vector<int16_t>& samples, int sampleRate) {
  ByteWriter w;
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  w.Raw("RIFF", 4);
  w.U32(36 + dataBytes);
  w.Raw("WAVE", 4);
  w.Raw("fmt ", 4);
  w.U32(16);
  w.U16(1);  // PCM
  w.U16(1);  // mono
  w.U32(static_cast<uint32_t>(sampleRate));
  w.U32(static_cast<uint32_t>(sampleRate) * 2);
  w.U16(2);
  w.U16(16);
  w.Raw("data", 4);
  w.U32(dataBytes);
  for (int16_t s : samples) w.U16(static_cast<uint16_t>(s));
  return w.Data();
}

void MidiTrack::Add(uint32_t tick, int order, std::vector<uint8_t> bytes) {
  m_events.push_back({tick, order, std::move(bytes)});
}

void MidiTrack::Name(const std::string& name) {
  std::vector<uint8_t> b = {0xFF, 0x03};
  Bytes len;
  VariableLength(len, static_cast<uint32_t>(name.size()));
  b.insert(b.end(), len.begin(), len.end());
  b.insert(b.end(), name.begin(), name.end());
  Add(0, 0, std::move(b));
}

void MidiTrack::Tempo(uint32_t tick, double bpm) {
  const uint32_t us = static_cast<uint32_t>(std::lround(60000000.0 / std::max(bpm, 1.0)));
  Add(tick, 0, {0xFF, 0x51, 0x03, static_cast<uint8_t>(us >> 16), static_cast<uint8_t>(us >> 8), static_cast<uint8_t>(us)});
}

void MidiTrack::TimeSignature(uint32_t tick, int numerator, int denominatorPower) {
  Add(tick, 0, {0xFF, 0x58, 0x04, static_cast<uint8_t>(numerator), static_cast<uint8_t>(denominatorPower), 24, 8});
}

void MidiTrack::Program(uint32_t tick, int channel, int program) {
  Add(tick, 1, {static_cast<uint8_t>(0xC0 | (channel & 15)), Seven(program)});
}

void MidiTrack::Control(uint32_t tick, int channel, int controller, int value) {
  Add(tick, 1, {static_cast<uint8_t>(0xB0 | (channel & 15)), Seven(controller), Seven(value)});
}

void MidiTrack::Note(uint32_t tick, uint32_t length, int channel, int key, int velocity) {
  if (length == 0) return;
  Add(tick, 3, {static_cast<uint8_t>(0x90 | (channel & 15)), Seven(key), static_cast<uint8_t>(std::clamp(velocity, 1, 127))});
  Add(tick + length, 2, {static_cast<uint8_t>(0x80 | (channel & 15)), Seven(key), 0});
}

uint32_t MidiTrack::LastTick() const {
  uint32_t last = 0;
  for (const Event& e : m_events) last = std::max(last, e.tick);
  return last;
}

Bytes MidiTrack::Encode() const {
  std::vector<Event> events = m_events;
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
  Bytes body;
  uint32_t now = 0;
  for (const Event& e : events) {
    VariableLength(body, e.tick - now);
    now = e.tick;
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
  }
  body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
  Bytes chunk;
  Tag(chunk, "MTrk");
  BigEndian(chunk, static_cast<uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

Bytes WriteMidi(int division, const std::vector<MidiTrack>& tracks) {
  Bytes file;
  Tag(file, "MThd");
  BigEndian(file, 6, 4);
  BigEndian(file, 1, 2);
  BigEndian(file, static_cast<uint32_t>(tracks.size()), 2);
  BigEndian(file, static_cast<uint32_t>(division), 2);
  for (const MidiTrack& t : tracks) {
    Bytes chunk = t.Encode();
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

}  // namespace zorgen
