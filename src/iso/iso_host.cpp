#include "iso/iso_host.h"

#include "worldbase/zor_world_obj.h"

CIsoHost* CIsoHost::Default() {
  static CIsoHost host;
  return &host;
}

int CIsoHost::DestroyObject(CWorldObj* object, int) {
  if (!object) return 0;
  object->Destroy();
  delete object;
  return 0;
}
