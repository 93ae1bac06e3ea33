#pragma once
// The named-variable operations of an object that owns game values. Every
// owner answers 0 for a name it holds and 1 for any other. The measure and
// model singletons implement it over their value tables and register with
// the data exchange under their prefix; CWorldObj, the base of placed and
// measure objects, derives from it.
#include <cstddef>

#include "framework/qno_object.h"

class CVarOwner : public CZorvaObject {
 public:
  virtual int SetVarData(const char* /*name*/, double /*value*/) { return 1; }
  virtual int GetVarData(const char* /*name*/, double* /*value*/) { return 1; }
  // Texts: the buffer holds size bytes and always ends up terminated.
  virtual int SetVarData(const char* /*name*/, const char* /*text*/) { return 1; }
  virtual int GetVarData(const char* /*name*/, char* /*buffer*/, size_t /*size*/) { return 1; }
  virtual int GetStep(const char* /*name*/, double* /*step*/) { return 1; }
  virtual int SetStep(const char* /*name*/, double /*step*/) { return 1; }
  virtual int GetVarMin(const char* /*name*/, double* /*min*/) { return 1; }
  virtual int GetVarMax(const char* /*name*/, double* /*max*/) { return 1; }
};
