#pragma once
// The kind of value a game variable holds; shared by the variables and the
// windows that show them.
enum EVarType : int {
  VAR_STRING = 1,
  VAR_INTEGER = 2,
  VAR_FLOATINGPOINT = 3,
  VAR_DOUBLE = 4,
  // The short names the window code uses.
  VAR_INT = VAR_INTEGER,
  VAR_FLOAT = VAR_FLOATINGPOINT,
};
