#include "app/StartupRecord.h"

void PrepareMainWindowRecord(QmDialogInitDef& record, int screenWidth, int screenHeight)
{
    record.fCaptionWidth = 50.0;
    if (screenWidth < record.nWidth)
        record.nWidth = screenWidth;
    if (screenHeight < record.nHeight)
        record.nHeight = screenHeight;
}
