#pragma once
// The sound files of the game: 16-bit mono PCM WAV for the effects and
// standard MIDI files (format 1) for the music.
#include <cstdint>
#include <string>
#include <vector>

#include "writers/blob_writers.h"

namespace zorgen {

// A RIFF/WAVE file of signed 16-bit mono samples.
Bytes WriteWav(const std::vector<int16_t>& samples, int sampleRate);

// One track of a MIDI file: events at absolute ticks, written in tick order
// (at one tick: meta events, then program and controller changes, then
// note offs, then note ons).
class MidiTrack {
 public:
  void Name(const std::string& name);
  // Quarter notes per minute.
  void Tempo(uint32_t tick, double bpm);
  // numerator / 2^denominatorPower.
  void TimeSignature(uint32_t tick, int numerator, int denominatorPower);
  void Program(uint32_t tick, int channel, int program);
  void Control(uint32_t tick, int channel, int controller, int value);
  void Note(uint32_t tick, uint32_t length, int channel, int key, int velocity);
  uint32_t LastTick() const;
  // The "MTrk" chunk, ending with the end-of-track event.
  Bytes Encode() const;

 private:
  struct Event {
    uint32_t tick;
    int order;
    std::vector<uint8_t> bytes;
  };
  void Add(uint32_t tick, int order, std::vector<uint8_t> bytes);
  std::vector<Event> m_events;
};

// A format 1 file of the tracks, `division` ticks per quarter note.
Bytes WriteMidi(int division, const std::vector<MidiTrack>& tracks);

}  // namespace zorgen
