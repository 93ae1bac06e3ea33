#pragma once

namespace zorgen {

// A text in German and English.
struct Words {
  const char* de;
  const char* en;
  const char* In(bool english) const { return english ? en : de; }
};

}  // namespace zorgen
