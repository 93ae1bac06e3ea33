#pragma once
// Error reporting of the demand simulation: numeric ids for refusals that
// the hour survives, and thrown texts for programming faults in the model.
#include <cstdio>

typedef int TSimErrorID;

// The simulation log "sim.err" is appended to from one start to the next
// and kept to this many bytes: a line that would take it past the limit
// first turns it into "sim.err.1" (replacing the one before) and starts a
// new "sim.err", so the newest lines are always kept and the two files
// together never hold more than twice the limit.
constexpr long kSimErrorLogLimit = 1L << 20;
constexpr const char* kSimErrorLogName = "sim.err";
constexpr const char* kSimErrorLogOldName = "sim.err.1";

// Writes the id and the text to the simulation log and keeps the id. A log
// that cannot be created is no reason to stop the game: the simulation then
// runs without it and tries again at the next report.
void SimSetError(const TSimErrorID& id, const char* text);
// The same, followed by what the error is about, e.g. ("street %d", id):
// formatted like the lines of the diagnostic log (single-letter conversions)
// and written in brackets after the text; the compiler checks the arguments
// against a format given as a literal.
void SimSetError(const TSimErrorID& id, const char* text, const char* about, ...) __attribute__((format(printf, 3, 4)));
// The id of the last report; 0 before any.
TSimErrorID SimLastError();
// Opens "sim.err" for appending when it is not open yet.
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
