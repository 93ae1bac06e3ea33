#pragma once
// The variables of a window, dialog or item, and the data exchange's
// globals. The list points to its variables without owning them; it can be
// filled from the variable tokens written into a text:
//   "@#VAR,TYPE,SOURCE,NAME[,INIT]#"
// TYPE names one of the four kinds; SOURCE "DATAEXCHANGE" shares the data
// exchange's global of that name, any other SOURCE binds to the window's
// own object later.
#include <string>

#include "framework/zor_pointer_list.h"
#include "model/zor_var.h"

// A pointer list that does not own its variables: deleting the list frees
// only its nodes, Destroy() deletes the variables explicitly.
class CVarList : public CZorvaList {
 public:
  static constexpr int kMaxFields = 12;

  CVarList() : CZorvaList(0) {}

  // 1 for a null text or an unknown TYPE (tokens after it are not read).
  int AddVarsFromString(const char* text);
  // Parses the token whose "@#" stands at or after *cursor into at most
  // *count fields; *count returns the number taken and *cursor moves past
  // the token. 1 when no complete token follows.
  static int GetToken(const char** cursor, std::string fields[], int* count);
  CVar* GetVarByName(const char* name) const;
  // Removes every variable; destroys and deletes those that no data
  // exchange list holds (a shared global stays alive for the others).
  int Destroy();
};
