#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

class CObject;

// Where an object sits relative to its reference rectangle; also the text
// alignment codes of the text wrapper.
enum PositionCode : int32_t {
    atLeft = 0,
    atRight = 1,
    atTop = 2,
    atBottom = 3,
    atLeftTop = 4,
    atLeftBottom = 5,
    atRightTop = 6,
    atRightBottom = 7,
    atCenter = 8,
};

// How one attached object is placed, read from a placement string such as
// "name=play, inside=true, pos=atLeftTop, my=15".
struct CellPlacement {
    CObject* anchor = nullptr; // an earlier attachment of the same cell; not owned
    bool inside = true;
    bool fill = false;
    bool ratio = false;
    PositionCode pos = atLeftTop;
    int32_t mx = 0; // used for a horizontal side whose own margin is 0
    int32_t my = 0; // used for a vertical side whose own margin is 0
    int32_t mleft = 0;
    int32_t mright = 0;
    int32_t mtop = 0;
    int32_t mbottom = 0;
    std::wstring name;
};

// Finds the object whose placement bears `name`, or null.
using AnchorLookup = std::function<CObject*(const std::wstring& name)>;

// Applies the pairs of a placement string in order. Anchors are resolved while
// reading; an unknown anchor name clears the anchor. Returns false on any
// unknown key, unaccepted value or unreadable pair, leaving `placement` partly set.
bool ReadPlacement(const std::wstring& text, const AnchorLookup& findAnchor,
                   CellPlacement& placement);

// Computes where an object of the size of `control` goes, relative to `cell`
// or to the placement's anchor. Returns false when the placement defines no
// position (centred around the reference): the object then stays put.
bool ComputePlacement(const RECT& cell, const CellPlacement& placement, RECT& control);
