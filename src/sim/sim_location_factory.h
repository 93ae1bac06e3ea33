#pragma once
// The factory of the demand model's locations (the buildings as the model
// sees them). For now only what the world's start-up and shutdown call.

class CZorvaWorld;
class CSimWelt;

class CSimLocationFactory {
 public:
  virtual ~CSimLocationFactory() = default;
  virtual int Create(CZorvaWorld* world, CSimWelt* simulation);
  virtual int Destroy();

 protected:
  CZorvaWorld* m_pWorld = nullptr;
  CSimWelt* m_pSimWelt = nullptr;
};
