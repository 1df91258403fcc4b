// Writes the demo catalogue: one list file per category and one movie per
// programme, under the program directory given as the only argument.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "DemoMovie.h"
#include "DemoProgrammes.h"
#include "TextEncoding.h"

namespace {

bool WriteFile(const std::filesystem::path& path, const void* data, size_t size)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(file);
}

bool WriteCategory(const std::filesystem::path& root, int category, int& programme)
{
    const demo::DemoCategory& entry = demo::kDemoCatalogue[static_cast<size_t>(category)];
    std::string list;
    for (const char16_t* name : entry.programmes) {
        if (name == nullptr)
            break;
        const std::optional<std::string> encoded = demo::ToCodePage936(name);
        if (!encoded) {
            std::fprintf(stderr, "cannot encode %s in code page 936\n", demo::ToUtf8(name).c_str());
            return false;
        }
        list += *encoded + "\r\n";
        const swf::Bytes movie = demo::MakeDemoMovie(programme++, category);
        const auto moviePath = root / "swf" / std::filesystem::u8path(demo::ToUtf8(name) + ".swf");
        if (!WriteFile(moviePath, movie.data(), movie.size()))
            return false;
    }
    std::string listName = "b";
    listName += demo::ToUtf8(entry.code);
    listName += ".inb";
    return WriteFile(root / "cont" / listName, list.data(), list.size());
}

}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_catalogue <program directory>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::error_code error;
    std::filesystem::create_directories(root / "cont", error);
    std::filesystem::create_directories(root / "swf", error);
    int programme = 0;
    for (int category = 0; category < static_cast<int>(demo::kDemoCatalogue.size()); ++category) {
        if (!WriteCategory(root, category, programme)) {
            std::fprintf(stderr, "demo_catalogue: writing category %d failed\n", category + 1);
            return 1;
        }
    }
    return 0;
}
