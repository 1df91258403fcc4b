#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Definition records: plain values read from one item of the definition
// file. Fields without a key in the file are never read.

struct QmDialogInitDef {
    std::wstring resourcePath;
    int nWidth = 0;
    int nHeight = 0;
    int bTrans = 1;
    COLORREF colorTrans = 15360;
    int bComposited = 1;
    // Zero until the record is read; reading sets the defaults.
    int bCaption = 0;
    double fCaptionWidth = 0.2;
    int bResizeable = 0;
    int nResizeBorderWidth = 0;
    int nResizeCornerWidth = 0;
    int nBtnRightMargin = 0;
    int nBtnTopMargin = 0;
    std::wstring fnBackgroundBmp;
    int bCloseBtn = 0;
    std::wstring fnCloseBaseBmp, fnCloseActiveBmp, fnClosePressBmp;
    int bMaxBtn = 0;
    std::wstring fnMaxBaseBmp, fnMaxActiveBmp, fnMaxPressBmp;
    std::wstring fnRestoreBaseBmp, fnRestoreActiveBmp, fnRestorePressBmp;
    int bMinBtn = 0;
    std::wstring fnMinBaseBmp, fnMinActiveBmp, fnMinPressBmp;
};

struct QmStaticInitDef {
    std::wstring resourcePath;
    int nWidth = 0;
    int nHeight = 0;
    std::vector<std::wstring> statesBmp;
    std::wstring text;
    COLORREF colorText = 0;
    int bTextTrans = 0;
    COLORREF colorBack = 16777215;
    std::wstring fontName = L"宋体";
    int nFontSize = 14;
    std::wstring tip;
};

struct QmOneStateBmp {
    std::wstring fnBaseBmp;
    std::wstring fnActiveBmp;
    std::wstring fnPressBmp;
    std::wstring fnDisableBmp;
};

struct QmMultiStateButtonInitDef {
    int nKind = 0;
    std::wstring resourcePath;
    int nWidth = 0;
    int nHeight = 0;
    std::vector<QmOneStateBmp> statesBmp;
    std::wstring tip;
};

// Fills the record from the item of that name under the record's type tag.
// Every keyed field starts from its default; true when the item exists.
bool ReadInitDef(QmDialogInitDef& record, const std::wstring& itemName);
bool ReadInitDef(QmStaticInitDef& record, const std::wstring& itemName);
bool ReadInitDef(QmMultiStateButtonInitDef& record, const std::wstring& itemName);
bool ReadInitDef(QmOneStateBmp& record, const std::wstring& itemName);
