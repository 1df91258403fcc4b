#include "app/FlashPlayer.h"

#include <filesystem>
#include <fstream>

bool CFlashPlayer::OpenMovie(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file.is_open()) {
        bLoaded = false;
        return false;
    }
    m_pControl->LoadMovie(0, path);
    m_pControl->Stop();
    file.close();
    bLoaded = true;
    return true;
}
