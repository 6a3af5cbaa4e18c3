// The converter program's one application object.
#include "TalvenaApp.h"

CTalvenaApp theApp;
