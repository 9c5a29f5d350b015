// The one application object.
#include "Skorel.h"

CSkorelApp theApp;
