#pragma once
// The variables of a window, dialog or item, and the data exchange's
// globals. The list points to its variables without owning them; it can be
// filled from the variable tokens written into a text:
//   "@#VAR,TYPE,SOURCE,NAME[,INIT]#"
// TYPE names one of the four kinds; SOURCE "DATAEXCHANGE" shares the data
// exchange's global of that name, any other SOURCE binds to the window's
// own object later.
//
// Until the framework's pointer list arrives this keeps its own; the
// operations carry the pointer list's names so the base can be swapped.
#include <deque>
#include <string>

#include "model/zor_var.h"

class CVarList {
 public:
  static constexpr int kMaxFields = 12;

  CVarList() = default;
  ~CVarList() = default;
  CVarList(const CVarList&) = delete;
  CVarList& operator=(const CVarList&) = delete;

  // Pointer-list operations.
  int AddHeadZorva(CZorvaObject* object, int key = -1);
  int RemoveZorva(CZorvaObject* object);
  int CheckZorvaInList(CZorvaObject* object) const;
  void SetupZorvaCount(int direction = 0);
  CZorvaObject* GetNextZorva();
  int GetCount() const { return static_cast<int>(m_items.size()); }

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

 private:
  std::deque<CZorvaObject*> m_items;
  int m_cursor = -1;
  int m_direction = 0;
};
