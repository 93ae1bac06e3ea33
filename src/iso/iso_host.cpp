#include "iso/iso_host.h"

CIsoHost* CIsoHost::Default() {
  static CIsoHost host;
  return &host;
}
