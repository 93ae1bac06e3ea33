#pragma once
// The interface controller: input, tools, windows and the interface layers.
// For now only what the world's start-up, turn and frame loop use.
#include "framework/qno_event.h"
#include "ui/overlay.h"

class QnoResourceManager;
class QnoDisplay;
class QnoView;
class CIsoWelt;
class CStrJunctionList;
class CScreenWindow;

// The selection and state record of the interface.
struct selObjType {
  unsigned char pause = 0;        // the game is paused or a start-up window waits
  unsigned char welcome[2] = {};  // set when the welcome window is answered
};

// The thematic map of the interface.
class CTwoDMap {
 public:
  virtual ~CTwoDMap() = default;
  virtual int UpdateAll();
};

class CViewFilter {
 public:
  static int Deactivate();
};

class CUserInt : public Overlay {
 public:
  virtual int OnCreate(QnoResourceManager* resources, QnoDisplay* display, CZorvaWorld* world, CIsoWelt* iso,
                       CStrJunctionList* streets);
  virtual int Destroy();
  // 0 when the event was consumed.
  virtual int InputFilter(QnoInteractionEvent* event, QnoView* view);
  virtual int Render(QnoDisplay* display);
  // Deferred actions, windows and maps; the last step of every turn.
  virtual int OnPlayloopTurn();
  virtual int SetAufloesung(int width, int height);
  virtual int UpdateStreet24h(int hour);
  virtual int ResetBeforeLoad(CStrJunctionList* streets);
  // The state of view filter n: filters 1..4 are stored, 0 is on exactly
  // when none of them is, and any n above 4 is off.
  int GetFilter(int n) const;
  void SetFilter(int n, bool on);

  CTwoDMap* GetTwoDMap() { return &m_TwoDMap; }
  selObjType selObj;
  static CScreenWindow* topWindow;

 private:
  bool m_Filter[5] = {};
  CTwoDMap m_TwoDMap;
};
