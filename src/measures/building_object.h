#pragma once
// Buildings placed on the map and the catalogue they come from.
// For now only what the world uses.
#include "world/zor_world_obj.h"

class QnoResourceManager;

class CBuildingObject : public CWorldObj {
  ZOR_DECLARE_TYPE(CBuildingObject)
 public:
  // The height class of the building's simulation location; 0 without one.
  virtual int GetHeight() const { return 0; }
  // The district id of the building's simulation location; -1 without one.
  virtual int GetDistrictID() const { return -1; }
};

class CBuildingDataList {
 public:
  static void SetResourceManager(QnoResourceManager* manager);
  static void Destroy();
  static QnoResourceManager* GetResourceManager() { return m_pResourceManager; }

 private:
  static QnoResourceManager* m_pResourceManager;
};
