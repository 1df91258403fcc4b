#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>

#include "framework/Image.h"

// The process-wide registry of shared images by exact path. Images in it
// belong to it and are never deleted by the controls that use them.
class CGraphMap {
public:
    CGraphMap() = default;
    virtual ~CGraphMap() = default;
    CGraphMap(const CGraphMap&) = delete;
    CGraphMap& operator=(const CGraphMap&) = delete;

    CImage* FindImage(const std::wstring& path) const;
    bool OwnsImage(const CImage* image) const;
    // Takes an image into the map under path; false (image dropped) when the path is taken.
    bool AddImage(const std::wstring& path, std::unique_ptr<CImage> image);

private:
    std::map<std::wstring, std::unique_ptr<CImage>> m_images;
    std::set<const CImage*> m_owned;
};

// Created before the application starts, destroyed at process exit.
extern CGraphMap* theGraphMap;
