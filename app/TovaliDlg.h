#pragma once
#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/FlashPlayer.h"
#include "app/Mixer.h"
#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "skin/InitDefs.h"
#include "toolkit/QmBkgndPic.h"
#include "toolkit/QmButton.h"
#include "toolkit/QmDialog.h"
#include "toolkit/QmStatic.h"

// The main player window: a skinned dialog on the empty template 102 that
// creates every control from its definition, lays them out, lets the child
// pick a category and a programme, and drives the movie control.
class CTovaliDlg : public QmDialog {
public:
    static constexpr UINT kIdDeclaration = 1014;
    static constexpr UINT kIdMute = 1021;
    static constexpr UINT kIdPlay = 1022;
    static constexpr UINT kIdSlider = 1027;
    static constexpr UINT kIdMovie = 1028;
    static constexpr UINT kIdList = 1029;
    static constexpr UINT kIdLink1 = 1031;
    static constexpr UINT kIdLink2 = 1032;
    static constexpr UINT kIdTitle = 1101;
    static constexpr UINT kIdTip = 1102;
    static constexpr UINT_PTR kProgressTimer = 1200;
    static constexpr UINT_PTR kDeclarationTimer = 1201;
    static constexpr COLORREF kListText = 0x00698CFF;
    static constexpr COLORREF kListBack = 0x00CAF5FE;
    static constexpr COLORREF kSliderBack = 0x00FFFDF4;

    explicit CTovaliDlg(const QmDialogInitDef& record);
    ~CTovaliDlg() override;

    bool PreTranslateMessage(MSG& msg) override;

    void SelectCategory(QmButton* button, const std::wstring& code);
    void LoadProgrammeList(const std::wstring& code);
    void PlaySelectedProgramme();
    void TogglePlayPause();
    void ToggleMute();
    void ShowDeclaration();

    const std::wstring& GetProgramDirectory() const { return m_strProgramDir; }
    // Points the catalogue and the movies at another folder (tests, portable installs).
    void SetProgramDirectory(const std::wstring& directory) { m_strProgramDir = directory; }
    QmButton* GetMenuButton(int index) const { return m_menuButtons[static_cast<size_t>(index)]; }
    QmButton* GetCurrentCategoryButton() const { return m_pCurrentCategory; }
    QmButton* GetPlayButton() const { return m_pBtnPlay; }
    QmButton* GetMuteButton() const { return m_pBtnMute; }
    CListBox* GetProgrammeList() const { return m_pList; }
    CSliderCtrl* GetSlider() const { return m_pSlider; }
    CFlashPlayer* GetFlashPlayer() const { return m_pFlashPlayer.get(); }
    QmStatic* GetTipLabel() const { return m_pTip; }
    bool IsInitialized() const { return m_bInitialized; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    template <class T>
    T* Allocate();
    void CreateControlObjects();
    void CreateControlsFromDefinitions();
    void CreatePictures(QmStaticInitDef& def);
    void CreateLabel(QmStatic* label, QmStaticInitDef& def, const wchar_t* item, UINT id,
                     COLORREF textColor);
    void CreateButtons();
    void CreateListAndSlider();
    void ApplyLayout();
    void PlaceMenuButtons(QmCell* menu);
    void PlaceFooter(QmCell* footer);
    void Place(QmCell* cell, CObject* control, const wchar_t* placement);
    void ShowControls();
    void OnTimer(UINT_PTR id);
    void OnSeek();
    LRESULT OnCtlColor(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    void OpenLink(int index) const;

    bool m_bInitialized = false;
    QmStatic* m_pTitle = nullptr;
    QmStatic* m_pTip = nullptr;
    QmBkgndPic* m_pTitleBack = nullptr;
    QmBkgndPic* m_pBorderLeft = nullptr;
    QmBkgndPic* m_pBorderRight = nullptr;
    QmBkgndPic* m_pBorderBottom = nullptr;
    QmBkgndPic* m_pLogo = nullptr;
    std::array<QmButton*, 15> m_menuButtons{};
    QmButton* m_pCurrentCategory = nullptr;
    std::array<QmButton*, 2> m_linkButtons{};
    QmButton* m_pBtnMute = nullptr;
    QmButton* m_pBtnPlay = nullptr;
    std::unique_ptr<CFlashPlayer> m_pFlashPlayer;
    std::wstring m_strProgramDir;
    CListBox* m_pList = nullptr;
    CMixer m_mixer;
    CBrush m_listBrush;
    CBrush m_sliderBrush;
    std::unique_ptr<CFont> m_pListFont;
    CSliderCtrl* m_pSlider = nullptr;
    // Controls not yet handed to a layout cell; whatever stays here is deleted with the window.
    std::vector<std::unique_ptr<CObject>> m_unplaced;
};
