#pragma once
#include <string>

#include "skin/ParseHtml.h"

// The definition file "resource.data" (UTF-16 LE), loaded on the first lookup
// from the current directory or else the executable's directory, and kept for
// the life of the process once it had content.

// Node of item itemName under type tag typeTag, or null.
const CParseHtml* FindDefinition(const std::wstring& itemName, const std::wstring& typeTag);

// Reads the file into the definition text, joining its lines without separators.
void LoadDefinitionFile();

// The directory in which the definition file was looked for last (with trailing backslash).
const std::wstring& ResourceDir();
const std::wstring& DefinitionText();

// Forgets the loaded definitions, so that the next lookup loads the file again.
void UnloadDefinitions();
