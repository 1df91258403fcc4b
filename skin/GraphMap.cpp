#include "skin/GraphMap.h"

namespace {
std::unique_ptr<CGraphMap> g_graphMapOwner = std::make_unique<CGraphMap>();
}

CGraphMap* theGraphMap = g_graphMapOwner.get();

CImage* CGraphMap::FindImage(const std::wstring& path) const
{
    auto it = m_images.find(path);
    return it == m_images.end() ? nullptr : it->second.get();
}

bool CGraphMap::OwnsImage(const CImage* image) const
{
    return image != nullptr && m_owned.count(image) != 0;
}

bool CGraphMap::AddImage(const std::wstring& path, std::unique_ptr<CImage> image)
{
    if (!image || m_images.count(path) != 0)
        return false;
    m_owned.insert(image.get());
    m_images.emplace(path, std::move(image));
    return true;
}
