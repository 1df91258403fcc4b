#pragma once

// The two web pages the link buttons open.
constexpr const wchar_t* kLinkPages[2] = {
    L"https://www.unicef.org/parenting/child-development",
    L"https://www.who.int/health-topics/child-health",
};
