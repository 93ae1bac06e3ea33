#include "measures/preise.h"

CPreise* CPreise::SetPreise() { return new CPreise; }
