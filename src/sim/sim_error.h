#pragma once
// Error reporting of the demand simulation: numeric ids for refusals that
// the hour survives, and thrown texts for programming faults in the model.
#include <cstdio>

typedef int TSimErrorID;

// Writes the id and the text to the simulation log "sim.err" and keeps the
// id. A log that cannot be created is no reason to stop the game: the
// simulation then runs without it and tries again at the next report.
void SimSetError(const TSimErrorID& id, const char* text);
// The id of the last report; 0 before any.
TSimErrorID SimLastError();
// Opens "sim.err" when it is not open yet.
void SimEnsureErrorLog();
// The simulation log, or null while it is not open.
FILE* SimErrorLog();
// Closes the log (the game does this at exit; tests between cases).
void SimCloseErrorLog();

// Texts thrown by the city model and the agents. Every result lives in one
// static buffer, so a caller copies it before the next error is built.
class CSimError {
 public:
  static const char* SetError(const char* function, const char* text);
  static void PrintError(const char* text);
  static const char* Result();
};

class CSimErrorNullPtr {
 public:
  static const char* SetError(const char* function);
};

class CSimErrorNotValid {
 public:
  static const char* SetError(const char* function);
};
