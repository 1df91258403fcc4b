#pragma once
#include <string>
#include <vector>

#include "framework/ErrorBox.h"

// Records every error box text shown while it lives; restores the previous sink after.
class ErrorBoxRecorder {
public:
    ErrorBoxRecorder()
        : m_previous(SetErrorBoxSink([this](const std::wstring& t) { m_texts.push_back(t); }))
    {
    }
    ~ErrorBoxRecorder() { SetErrorBoxSink(m_previous); }
    ErrorBoxRecorder(const ErrorBoxRecorder&) = delete;
    ErrorBoxRecorder& operator=(const ErrorBoxRecorder&) = delete;

    const std::vector<std::wstring>& Texts() const { return m_texts; }
    void Clear() { m_texts.clear(); }

private:
    std::vector<std::wstring> m_texts;
    ErrorBoxSink m_previous;
};
