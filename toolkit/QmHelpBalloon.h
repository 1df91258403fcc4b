#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "skin/InitDefs.h"
#include "toolkit/QmDialog.h"
#include "toolkit/QmStatic.h"

// The skin of a balloon: the dialog record (its nWidth and nHeight are the
// balloon's size for short texts) and the records of its three parts. The
// icon has the images normal, flipped and corner; the tail one image per
// quadrant (tip on the right for 0 and 1, on the left for 2 and 3; pointing
// down for 0 and 2, up for 1 and 3); the text label its background and font.
struct QmHelpBalloonDef {
    QmDialogInitDef dialog;
    QmStaticInitDef icon;
    QmStaticInitDef tail;
    QmStaticInitDef text;
};

// Reads the dialog record of `itemName` and the label records
// `itemName`_ICON, `itemName`_TAIL and `itemName`_TEXT; true when all exist.
bool ReadHelpBalloonDef(QmHelpBalloonDef& def, const std::wstring& itemName);

// A help text next to a control of another window: a skinned child window
// with an icon, the text and a tail pointing at the control, opening on the
// side that faces the middle of the control's parent.
//
// - Create(host) makes the balloon a hidden child of host (from any empty
//   popup template), builds its layout "col(Icon(<icon width>),Content(*))"
//   with Content "row(TailTop(t),Body(*),TailBottom(t))", t the tail's
//   height, the text filling Body as `helpContent`, and makes it the current
//   balloon. Texts go into the help table with AddHelpText.
// - ShowHelp with a text activates the balloon and, outside corner mode,
//   starts timer 5252 (250 ms). Ticks count in the timer phase; the mouse
//   over the balloon renews the shown-at time, and once the hide delay has
//   passed since then the balloon hides. Hide stops the timer and clears
//   active, so a hidden balloon never reappears on a relayout.
// - SetCornerMode(true, anchor) activates the balloon and parks it as its
//   icon above anchor (or at the host's corner without one); false goes
//   back to the last target.
// - A tail offset that would be negative is placed as 0.
// - Siblings the balloon overlaps need WS_CLIPSIBLINGS, or they paint over it.
class QmHelpBalloon : public QmDialog {
public:
    static constexpr UINT_PTR kTimerId = 5252;
    static constexpr UINT kTimerIntervalMs = 250;
    static constexpr uint64_t kDefaultHideDelayMs = 4000;

    QmHelpBalloon(const QmHelpBalloonDef& def, UINT templateId);
    ~QmHelpBalloon() override;

    // Creates the window as a hidden child of host; false when it could not.
    bool Create(CWnd& host);
    // The text for (x, y) of target; (-1, -1) is the whole window. A second
    // text for the same point replaces the first.
    void AddHelpText(HWND target, const std::wstring& text, int x = -1, int y = -1);
    std::wstring GetHelpText(HWND target, int x, int y) const;

    void ShowHelp(HWND target, int x = -1, int y = -1);
    void RepositionBalloon();
    POINT GetCornerPoint() const;
    void SetCornerMode(bool on, HWND anchor = nullptr);
    void Hide();
    void SetHideDelay(uint64_t ms) { m_hideDelayMs = ms; }
    void ReleaseSkinObjects() override;

    // Repositions and raises the current balloon after `dialog` laid itself
    // out, unless the balloon is that dialog or inactive.
    static void FollowRelayout(const QmDialog* dialog);
    static QmHelpBalloon* GetCurrent() { return s_pCurrent; }
    void MakeCurrent() { s_pCurrent = this; }

    RECT ComputeBalloonSize() const;
    bool ComputeBalloonRect(HWND target, int x, int y, RECT& rect);
    static int PickQuadrant(const RECT& parent, const RECT& target);
    void PlaceTail(int a, int q);
    static std::wstring TailPlacement(int n, int q);

    bool IsActive() const { return m_bActive; }
    bool IsCornerMode() const { return m_bCornerMode; }
    bool IsFlipped() const { return m_bFlipped; }
    bool IsTimerRunning() const { return m_bTimerRunning; }
    int GetQuadrant() const { return m_nQuadrant; }
    int GetTailOffset() const { return m_nTailOffset; }
    const RECT& GetDesiredRect() const { return m_rcDesired; }
    const std::wstring& GetCurrentText() const { return m_strText; }
    QmStatic* GetTextControl() const { return m_pText; }
    QmStatic* GetTail() const { return m_pTail; }
    QmStatic* m_pIcon = nullptr;

protected:
    bool OnInitDialog() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyDialog() override;

private:
    struct HelpEntry {
        std::vector<std::wstring> texts;
        std::vector<POINT> points;
    };

    bool BuildLayout();
    QmCell* ContentCell();
    RECT RectInParent(RECT screenRect) const;
    void UpdateIconState();
    void ShowParts(bool show);
    void StartTimer();
    void StopTimer();
    void OnTimerTick();
    bool IsMouseOver() const;

    bool m_bActive = false;
    bool m_bCornerMode = false;
    QmStatic* m_pText = nullptr;
    QmStatic* m_pTail = nullptr;
    int32_t m_nQuadrant = 0;
    bool m_bFlipped = false;
    int32_t m_nIconWidth = 0;
    RECT m_rcDesired{};
    int32_t m_nTailOffset = 0;
    bool m_bTextChanged = false;
    bool m_bTimerRunning = false;
    int32_t m_nTimerPhase = -1;
    uint64_t m_shownAt = 0;
    int32_t m_nSavedIconState = 0;
    std::wstring m_strText;
    std::map<HWND, HelpEntry> m_helpTable;
    HWND m_hTarget = nullptr;
    int32_t m_nTargetX = -1;
    int32_t m_nTargetY = -1;
    HWND m_hCornerAnchor = nullptr;

    QmStaticInitDef m_iconDef;
    QmStaticInitDef m_tailDef;
    QmStaticInitDef m_textDef;
    HWND m_hHost = nullptr;
    uint64_t m_hideDelayMs = kDefaultHideDelayMs;

    static inline QmHelpBalloon* s_pCurrent = nullptr;
};
