#include "skin/Definitions.h"

#include "skin/Directories.h"
#include "skin/MappedTextFile.h"

namespace {
struct DefinitionState {
    std::wstring text;
    CParseHtml root;
    std::wstring resourceDir;
};

DefinitionState& State()
{
    static DefinitionState state;
    return state;
}

bool OpenDefinitionFile(MappedTextFile& file, const std::wstring& directory)
{
    return file.Open(directory + L"resource.data", TextEncoding::EncodingUtf16LE);
}
}

const std::wstring& ResourceDir()
{
    return State().resourceDir;
}

const std::wstring& DefinitionText()
{
    return State().text;
}

void UnloadDefinitions()
{
    State().text.clear();
    State().root.ParseNode(L"");
    State().resourceDir.clear();
}

void LoadDefinitionFile()
{
    DefinitionState& state = State();
    state.text.clear();
    state.resourceDir = GetCurrentDirectoryPath();
    MappedTextFile file;
    if (!OpenDefinitionFile(file, state.resourceDir)) {
        state.resourceDir.clear();
        GetModuleDirectory(state.resourceDir);
        if (!OpenDefinitionFile(file, state.resourceDir))
            return;
    }
    std::wstring line;
    while (file.ReadLine(line))
        state.text += line;
    file.Close();
}

const CParseHtml* FindDefinition(const std::wstring& itemName, const std::wstring& typeTag)
{
    DefinitionState& state = State();
    if (state.text.empty()) {
        LoadDefinitionFile();
        state.root.ParseNode(state.text);
    }
    const CParseHtml* type = state.root.GetChild(typeTag);
    return type != nullptr ? type->GetChild(itemName) : nullptr;
}
