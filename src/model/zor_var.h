#pragma once
// A named game variable as windows see it: a cached number and text, and
// optionally the object that owns the real value. Reads and writes of a
// bound variable go through the owner's named-variable operations; an
// unbound variable holds its own value.
#include <cstddef>

#include "framework/qno_object.h"
#include "gui/window_var.h"
#include "model/var_owner.h"
#include "gui/var_type.h"

class CDataExchange;


// Windows hold game variables through the toolkit's variable interface.
class CVar : public CWindowVar {
 public:
  static constexpr size_t kMaxName = 80;
  // The buffer an owner's text answer is read into.
  static constexpr size_t kTextBuffer = 1024;
  static CDataExchange* varDataExchange;
  static bool m_Refresh;

  CVar() = default;
  ~CVar() override;
  CVar(const CVar&) = delete;
  CVar& operator=(const CVar&) = delete;

  static void SetDataExchange(CDataExchange* dx) { varDataExchange = dx; }
  static void RefreshOn() { m_Refresh = true; }
  static void RefreshOff() { m_Refresh = false; }
  // Numbers cross to owners and readers at float precision.
  static double ToFloatPrecision(double v);

  int Create() override { return 0; }
  int Create(CZorvaObject& /*source*/) override { return 0; }
  int SerializeGameStore(FILE* /*file*/) override { return 0; }
  int SerializeGameLoad(FILE* /*file*/) override { return 0; }
  virtual int IsValid() { return 0; }

  int Create(EVarType type, const char* name, CVarOwner* owner);
  int Create(EVarType type, const char* name, double value);
  int Create(EVarType type, const char* name, const char* text);
  int SetWorldOject(CVarOwner* owner) override;
  int Refresh() override;

  void SetName(const char* name);
  const char* GetName() const override { return m_pName; }
  EVarType GetVarType() const override { return m_Type; }
  CVarOwner* GetZorvaObject() const { return m_pOwner; }
  int GetWorldObjectType() const { return m_WorldObjectType; }

  int SetValue(double v) override;
  int GetValue(double* out, bool refresh = true) override;
  int AddValue(double d);
  int SetValue(const char* text);
  // Copies the text into buffer (size bytes); 1 when the variable holds none.
  int GetValue(char* buffer, size_t size);
  const char* GetText() const { return m_pText; }
  int GetStep(double* step);
  int GetMin(double* min) override;
  int GetMax(double* max) override;
  int StepUp() override;
  int StepDown() override;
  int Toggle();
  void Copy(const CVar* other);
  int Destroy() override;

  void IncrementInListNumber() { ++m_InListCount; }
  void DecrementInListNumber() { --m_InListCount; }
  int GetInListNumber() const { return m_InListCount; }

 private:
  int Step(double direction);

  int m_InListCount = 0;
  char* m_pName = nullptr;
  char* m_pSecondText = nullptr;
  EVarType m_Type = VAR_DOUBLE;
  int m_WorldObjectType = 0;
  CVarOwner* m_pOwner = nullptr;
  char* m_pText = nullptr;
  double m_Value = 0.0;
  double m_Step = 0.0;
  double m_Min = 0.0;
  double m_Max = 0.0;
};
