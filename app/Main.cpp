#include "app/TovaliApp.h"

// The one application object, constructed before the entry point runs.
CTovaliApp theApp;
