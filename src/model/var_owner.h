#pragma once
// The named-variable operations of an object that owns game values, with
// the signatures of the world object base. Every owner answers 0 for a
// name it holds and 1 for any other. The measure and model singletons
// implement them over their value tables and register with the data
// exchange under their prefix.
#include "framework/qno_object.h"

class CVarOwner : public CZorvaObject {
 public:
  virtual int SetVarData(const char* /*name*/, const char* /*text*/) { return 1; }
  virtual int SetVarData(const char* /*name*/, double /*value*/) { return 1; }
  virtual int GetVarData(const char* /*name*/, double* /*value*/) { return 1; }
  virtual int GetStep(const char* /*name*/, float* /*step*/) { return 1; }
  virtual int SetStep(const char* /*name*/, float /*step*/) { return 1; }
  virtual int GetVarMin(const char* /*name*/, float* /*min*/) { return 1; }
  virtual int GetVarMax(const char* /*name*/, float* /*max*/) { return 1; }
  // Copies the text into text, which the caller sizes for the longest
  // text an owner holds (CVar passes kTextBuffer bytes).
  virtual int GetVarData(const char* /*name*/, char* /*text*/) { return 1; }
};
