#include "sim/sim_error.h"

#include <cstring>
#include <string>

namespace {
FILE* g_simLog = nullptr;
TSimErrorID g_lastError = 0;
char g_function[256];
char g_text[256];
char g_result[512];

void CopyCut(char* dst, const char* src, size_t size) {
  std::strncpy(dst, src, size - 1);
  dst[size - 1] = '\0';
}
}  // namespace

void SimEnsureErrorLog() {
  if (!g_simLog) g_simLog = std::fopen("sim.err", "w");
}

void SimSetError(const TSimErrorID& id, const char* text) {
  g_lastError = id;
  SimEnsureErrorLog();
  if (!g_simLog) return;
  std::fprintf(g_simLog, "Fehler %d: %s\n", id, text ? text : "");
  std::fflush(g_simLog);
}

TSimErrorID SimLastError() { return g_lastError; }

FILE* SimErrorLog() { return g_simLog; }

void SimCloseErrorLog() {
  if (g_simLog) std::fclose(g_simLog);
  g_simLog = nullptr;
}

const char* CSimError::SetError(const char* function, const char* text) {
  if (!text) {
    text = "CSimError";
    function = "<No function name>";
  }
  if (!function) function = "<No function name>";
  CopyCut(g_function, function, sizeof g_function);
  CopyCut(g_text, text, sizeof g_text);
  // The result is cut to its buffer like the two parts are cut to theirs.
  const std::string full = std::string("Fehler in ") + g_function + ": " + g_text + "\n";
  CopyCut(g_result, full.c_str(), sizeof g_result);
  return g_result;
}

void CSimError::PrintError(const char* /*text*/) {
  SimEnsureErrorLog();
  if (!g_simLog) return;
  std::fprintf(g_simLog, "%s", g_result);
  std::fflush(g_simLog);
}

const char* CSimError::Result() { return g_result; }

const char* CSimErrorNullPtr::SetError(const char* function) {
  return CSimError::SetError(function, "CSimErroNullPtr()");
}

const char* CSimErrorNotValid::SetError(const char* function) {
  return CSimError::SetError(function, "CSimErroNullPtr()");
}
