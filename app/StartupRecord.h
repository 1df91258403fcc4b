#pragma once
#include "skin/InitDefs.h"

// The two adjustments start-up makes to the main window's record: a caption
// band of 50 pixels whatever the file says, and a size no larger than the screen.
void PrepareMainWindowRecord(QmDialogInitDef& record, int screenWidth, int screenHeight);
