// The viewer's one application object.
#include "SorvikApp.h"

CSorvikApp theApp;
