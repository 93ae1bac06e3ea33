#pragma once
// The base of every placed object and of every measure and model object:
// kind, visibility, a looping sound, a filter icon, a reference count for
// objects that many cells share, and the named-variable protocol.
#include <cstdio>

#include "framework/qno_object.h"
#include "worldbase/zor_types.h"

class QnoDisplay;
class CSimLocation;

class CWorldObj : public CZorvaObject {
  ZOR_DECLARE_TYPE(CWorldObj)
 public:
  static constexpr int kSoundNameSize = 60;
  // The length of a savegame record's name field.
  static constexpr int kRecordNameSize = 30;

  CWorldObj() = default;
  ~CWorldObj() override = default;

  int Create() override;
  int Create(CZorvaObject& other) override;
  int Destroy() override;
  int SerializeGameStore(FILE*) override { return 1; }
  int SerializeGameLoad(FILE*) override { return 0; }

  // Named variables: 0 when this object holds the name, 1 otherwise.
  virtual int SetVarData(const char* name, const char* text);
  virtual int SetVarData(const char* name, double value);
  virtual int GetVarData(const char* name, double* value);
  virtual int GetStep(const char* name, float* step);
  virtual int SetStep(const char* name, float step);
  virtual int GetVarMin(const char* name, float* min);
  virtual int GetVarMax(const char* name, float* max);
  virtual int GetVarData(const char* name, char* text);

  // Writes the object's savegame record; the base writes "NoSaveData".
  virtual int SerializeGameStore(FILE* file, char* unused);
  // The object's turn on one of its cells. Its looping sound is asked for
  // (or faded) once per map turn, however many cells the object covers.
  virtual int OnPlayloopTurn(unsigned short x, unsigned short y);
  // True when OnPlayloopTurn does work on each cell of the object. A kind
  // whose cell turn is the base's alone (its sound, once a map turn) says
  // false: the map's turn then visits only the first of its cells.
  virtual bool HasCellTurn() const { return true; }
  // Asks memory ahead of time for what OnPlayloopTurn on that cell will
  // read, in stages from the farthest (4) to the nearest (1): each stage may
  // read what the stage before it asked for. Stage 0, after stage 2, asks
  // for what UpdateScreenPos reads and writes instead. Changes nothing.
  virtual void PrefetchTurn(unsigned short /*x*/, unsigned short /*y*/, int /*stage*/) const {}
  // Starts a new map turn for the objects' sounds.
  static void NextSoundTurn() { m_SoundTurn = m_SoundTurn + 1 == 0 ? 1 : m_SoundTurn + 1; }
  virtual int Render(QnoDisplay* display, unsigned short x, unsigned short y, int sx, int sy, TIsoZoomStufe zoom);
  // True when Render draws nothing but the vehicles of the micro-cell
  // layouts that the map counts at the cell while they hold any (and the
  // micro-cell view): a replayed frame passes over the cell while none is
  // counted there.
  virtual bool RendersOnlyLayoutVehicles() const { return false; }
  virtual void SetData(void*) {}
  virtual void SetVisible(bool visible, unsigned short x, unsigned short y);
  virtual bool IsVisible(unsigned short x, unsigned short y);
  virtual const char* SetSoundName(const char* name, int priority);
  virtual bool IsFilter() { return m_FilterResID > 0; }
  // The demand model's location of a placed building; objects that are no
  // location keep none.
  virtual void SetSimLocation(CSimLocation*) {}
  virtual CSimLocation* GetSimLocation() const { return nullptr; }
  // The cells a building covers along the map's x and y, turned with it;
  // 1 by 1 for every other object.
  virtual int GetXSizeRichtung() const { return 1; }
  virtual int GetYSizeRichtung() const { return 1; }
  // The street type of a street piece or a junction's crossing object; 0
  // for every other object.
  virtual int GetStreetType() const { return 0; }
  // The map moved: (sx, sy) is the cell's anchor on the screen. Street and
  // crossing objects move their micro cells there; 0.
  virtual int UpdateScreenPos(int /*sx*/, int /*sy*/, unsigned short /*x*/, unsigned short /*y*/) { return 0; }

  TObjectType GetType() const { return m_Type; }
  void SetType(TObjectType type) { m_Type = type; }
  void IncAllocCounter() { ++m_AllocCount; }
  void DecAllocCounter() { --m_AllocCount; }
  int GetAllocCount() const { return m_AllocCount; }
  void SetFilterResID(int id) { m_FilterResID = id; }
  int GetFilterResID() const { return m_FilterResID; }
  void SetSoundVisible(bool on);
  // Drops the sound mark without fading the sound, as SetVisible(false) does.
  void DropSoundVisible() { m_SoundVisible = 0; }
  bool IsSoundVisible() const { return m_SoundVisible != 0; }
  const char* GetSoundName() const { return m_SoundName; }
  int GetSoundPriority() const { return m_SoundPriority; }

  // Writes a record header: the length (name field plus payload) and the
  // 30-byte name field. 1 when a write fails.
  static int WriteRecordHeader(FILE* file, const char* name, uint32_t payloadLength);

 protected:
  TObjectType m_Type = OBJ_GROUND;
  uint8_t m_Visible = 1;
  uint8_t m_SoundVisible = 0;
  int32_t m_AllocCount = 0;
  char m_SoundName[kSoundNameSize] = {};
  int32_t m_FilterResID = -1;
  int32_t m_SoundPriority = 0;
  // The map turn in which the sound was last asked for; 0 never.
  uint32_t m_SoundTurnDone = 0;
  // The current map turn; 0 while no map turn counts them.
  static uint32_t m_SoundTurn;
};

// The empty ground that every empty cell shares.
class CBaseObject : public CWorldObj {
 public:
  int Create() override;
  bool HasCellTurn() const override { return false; }
  // It draws nothing over the map.
  bool RendersOnlyLayoutVehicles() const override { return true; }
  using CWorldObj::Create;
};
