#include "skin/InitDefs.h"

#include <locale>
#include <sstream>

#include "skin/Definitions.h"

namespace {
// Reads the values of one item through one shared stream, key by key. A value
// is appended to the stream and one item of the field's type is read back, so
// words left over by one key are read by the next, and a failed read stops
// every later conversion until a list has been read.
class KeyReader {
public:
    explicit KeyReader(const CParseHtml& node) : m_node(node)
    {
        m_stream.imbue(std::locale::classic());
    }

    template <class T>
    void Scalar(const wchar_t* key, T& field)
    {
        if (!Feed(key))
            return;
        T value{};
        if (m_stream >> value)
            field = value;
    }

    void TextList(const wchar_t* key, std::vector<std::wstring>& list)
    {
        if (!Feed(key))
            return;
        list.clear();
        std::wstring word;
        while (m_stream >> word)
            list.push_back(word);
        m_stream.clear();
    }

    void StateList(const wchar_t* key, std::vector<QmOneStateBmp>& list)
    {
        if (!Feed(key))
            return;
        list.clear();
        std::wstring word;
        while (m_stream >> word) {
            QmOneStateBmp state;
            ReadInitDef(state, word);
            list.push_back(state);
        }
        m_stream.clear();
    }

private:
    bool Feed(const wchar_t* key)
    {
        const std::wstring value = m_node.GetValue(key);
        if (value.empty())
            return false;
        m_stream << value << L'\n';
        return true;
    }

    const CParseHtml& m_node;
    std::wstringstream m_stream;
};

void ResetKeyedFields(QmDialogInitDef& record)
{
    QmDialogInitDef defaults;
    defaults.bCaption = 1;
    defaults.fCaptionWidth = 0.2;
    defaults.bResizeable = 1;
    defaults.nResizeBorderWidth = 5;
    defaults.nResizeCornerWidth = 7;
    defaults.bComposited = record.bComposited;
    defaults.nBtnRightMargin = record.nBtnRightMargin;
    defaults.nBtnTopMargin = record.nBtnTopMargin;
    record = defaults;
}

void ResetKeyedFields(QmStaticInitDef& record)
{
    record = QmStaticInitDef{};
}

void ResetKeyedFields(QmMultiStateButtonInitDef& record)
{
    const int kind = record.nKind;
    record = QmMultiStateButtonInitDef{};
    record.nKind = kind;
}

void ResetKeyedFields(QmOneStateBmp& record)
{
    record = QmOneStateBmp{};
}

void ReadKeys(KeyReader& r, QmDialogInitDef& d)
{
    r.Scalar(L"resourcePath", d.resourcePath);
    r.Scalar(L"nWidth", d.nWidth);
    r.Scalar(L"nHeight", d.nHeight);
    r.Scalar(L"bTrans", d.bTrans);
    r.Scalar(L"colorTrans", d.colorTrans);
    r.Scalar(L"bCaption", d.bCaption);
    r.Scalar(L"fCaptionWidth", d.fCaptionWidth);
    r.Scalar(L"bResizeable", d.bResizeable);
    r.Scalar(L"nResizeBorderWidth", d.nResizeBorderWidth);
    r.Scalar(L"nResizeCornerWidth", d.nResizeCornerWidth);
    r.Scalar(L"fnBackgroundBmp", d.fnBackgroundBmp);
    r.Scalar(L"bCloseBtn", d.bCloseBtn);
    r.Scalar(L"fnCloseBaseBmp", d.fnCloseBaseBmp);
    r.Scalar(L"fnCloseActiveBmp", d.fnCloseActiveBmp);
    r.Scalar(L"fnClosePressBmp", d.fnClosePressBmp);
    r.Scalar(L"bMaxBtn", d.bMaxBtn);
    r.Scalar(L"fnMaxBaseBmp", d.fnMaxBaseBmp);
    r.Scalar(L"fnMaxActiveBmp", d.fnMaxActiveBmp);
    r.Scalar(L"fnMaxPressBmp", d.fnMaxPressBmp);
    r.Scalar(L"bMinBtn", d.bMinBtn);
    r.Scalar(L"fnMinBaseBmp", d.fnMinBaseBmp);
    r.Scalar(L"fnMinActiveBmp", d.fnMinActiveBmp);
    r.Scalar(L"fnMinPressBmp", d.fnMinPressBmp);
    r.Scalar(L"fnRestoreBaseBmp", d.fnRestoreBaseBmp);
    r.Scalar(L"fnRestoreActiveBmp", d.fnRestoreActiveBmp);
    r.Scalar(L"fnRestorePressBmp", d.fnRestorePressBmp);
}

void ReadKeys(KeyReader& r, QmStaticInitDef& d)
{
    r.Scalar(L"resourcePath", d.resourcePath);
    r.Scalar(L"nWidth", d.nWidth);
    r.Scalar(L"nHeight", d.nHeight);
    r.Scalar(L"tip", d.tip);
    r.TextList(L"statesBmp", d.statesBmp);
    r.Scalar(L"text", d.text);
    r.Scalar(L"colorText", d.colorText);
    r.Scalar(L"bTextTrans", d.bTextTrans);
    r.Scalar(L"colorBack", d.colorBack);
    r.Scalar(L"fontName", d.fontName);
    r.Scalar(L"nFontSize", d.nFontSize);
}

void ReadKeys(KeyReader& r, QmMultiStateButtonInitDef& d)
{
    r.Scalar(L"resourcePath", d.resourcePath);
    r.Scalar(L"nWidth", d.nWidth);
    r.Scalar(L"nHeight", d.nHeight);
    r.Scalar(L"tip", d.tip);
    r.StateList(L"statesBmp", d.statesBmp);
}

void ReadKeys(KeyReader& r, QmOneStateBmp& d)
{
    r.Scalar(L"fnBaseBmp", d.fnBaseBmp);
    r.Scalar(L"fnActiveBmp", d.fnActiveBmp);
    r.Scalar(L"fnPressBmp", d.fnPressBmp);
    r.Scalar(L"fnDisableBmp", d.fnDisableBmp);
}

template <class Record>
bool ReadRecord(Record& record, const std::wstring& itemName, const wchar_t* typeTag)
{
    ResetKeyedFields(record);
    const CParseHtml* node = FindDefinition(itemName, typeTag);
    if (node == nullptr)
        return false;
    KeyReader reader(*node);
    ReadKeys(reader, record);
    return true;
}
}

bool ReadInitDef(QmDialogInitDef& record, const std::wstring& itemName)
{
    return ReadRecord(record, itemName, L"QmDialogInitDef");
}

bool ReadInitDef(QmStaticInitDef& record, const std::wstring& itemName)
{
    return ReadRecord(record, itemName, L"QmStaticInitDef");
}

bool ReadInitDef(QmMultiStateButtonInitDef& record, const std::wstring& itemName)
{
    return ReadRecord(record, itemName, L"QmMultiStateButtonInitDef");
}

bool ReadInitDef(QmOneStateBmp& record, const std::wstring& itemName)
{
    return ReadRecord(record, itemName, L"QmOneStateBmp");
}
