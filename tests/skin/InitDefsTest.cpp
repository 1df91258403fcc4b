#include <gtest/gtest.h>

#include <memory>

#include "skin/Definitions.h"
#include "skin/Directories.h"
#include "skin/InitDefs.h"
#include "support/ErrorBoxRecorder.h"
#include "support/TempFiles.h"

namespace {
// A definition file in a fresh current directory, loaded anew for each test.
class DefinitionFile : public testing::Test {
protected:
    void Use(const std::wstring& text)
    {
        ASSERT_TRUE(WriteUtf16(m_dir.File(L"resource.data"), text));
        UnloadDefinitions();
    }
    void TearDown() override { UnloadDefinitions(); }

    TempDir m_dir;
    CurrentDirectoryScope m_scope{m_dir.Path()};
};

std::wstring DialogItem(const std::wstring& keys)
{
    return L"<QmDialogInitDef><DLG>" + keys + L"</DLG></QmDialogInitDef>";
}
}

TEST_F(DefinitionFile, DialogRecordDefaultsBeforeAndAfterReading)
{
    QmDialogInitDef fresh;
    EXPECT_EQ(fresh.bCaption, 0);
    EXPECT_EQ(fresh.bResizeable, 0);
    EXPECT_EQ(fresh.nResizeBorderWidth, 0);
    EXPECT_EQ(fresh.nResizeCornerWidth, 0);

    Use(L"<QmDialogInitDef><DLG><unknown>1</unknown></DLG></QmDialogInitDef>");
    QmDialogInitDef read;
    EXPECT_TRUE(ReadInitDef(read, L"DLG"));
    EXPECT_EQ(read.bTrans, 1);
    EXPECT_EQ(read.colorTrans, 15360u);
    EXPECT_EQ(read.bCaption, 1);
    EXPECT_DOUBLE_EQ(read.fCaptionWidth, 0.2);
    EXPECT_EQ(read.bResizeable, 1);
    EXPECT_EQ(read.nResizeBorderWidth, 5);
    EXPECT_EQ(read.nResizeCornerWidth, 7);
    EXPECT_EQ(read.bCloseBtn + read.bMaxBtn + read.bMinBtn, 0);

    QmDialogInitDef missing;
    EXPECT_FALSE(ReadInitDef(missing, L"NOPE"));
    EXPECT_EQ(missing.bCaption, 1);
    EXPECT_EQ(missing.nResizeCornerWidth, 7);
}

TEST_F(DefinitionFile, ReadsEveryDialogKeyInOrder)
{
    Use(DialogItem(L"<resourcePath>r\\</resourcePath><nWidth>640</nWidth>\r\n<nHeight>4\r\n80</nHeight>"
                   L"<bTrans>0</bTrans><colorTrans>255</colorTrans><bCaption>0</bCaption>"
                   L"<fCaptionWidth>0.25</fCaptionWidth><bResizeable>0</bResizeable>"
                   L"<nResizeBorderWidth>3</nResizeBorderWidth><nResizeCornerWidth>9</nResizeCornerWidth>"
                   L"<fnBackgroundBmp>bk.png</fnBackgroundBmp><bCloseBtn>1</bCloseBtn>"
                   L"<fnCloseBaseBmp>c1</fnCloseBaseBmp><fnCloseActiveBmp>c2</fnCloseActiveBmp>"
                   L"<fnClosePressBmp>c3</fnClosePressBmp><bMinBtn>1</bMinBtn>"
                   L"<fnMinBaseBmp>m1</fnMinBaseBmp><fnRestorePressBmp>r3</fnRestorePressBmp>"));
    QmDialogInitDef d;
    ASSERT_TRUE(ReadInitDef(d, L"DLG"));
    EXPECT_EQ(d.resourcePath, L"r\\");
    EXPECT_EQ(d.nWidth, 640);
    EXPECT_EQ(d.nHeight, 480);
    EXPECT_EQ(d.bTrans, 0);
    EXPECT_EQ(d.colorTrans, 255u);
    EXPECT_EQ(d.bCaption, 0);
    EXPECT_DOUBLE_EQ(d.fCaptionWidth, 0.25);
    EXPECT_EQ(d.bResizeable, 0);
    EXPECT_EQ(d.nResizeBorderWidth, 3);
    EXPECT_EQ(d.nResizeCornerWidth, 9);
    EXPECT_EQ(d.fnBackgroundBmp, L"bk.png");
    EXPECT_EQ(d.bCloseBtn, 1);
    EXPECT_EQ(d.fnCloseActiveBmp, L"c2");
    EXPECT_EQ(d.fnClosePressBmp, L"c3");
    EXPECT_EQ(d.bMinBtn, 1);
    EXPECT_EQ(d.fnMinBaseBmp, L"m1");
    EXPECT_EQ(d.fnRestorePressBmp, L"r3");
}

TEST_F(DefinitionFile, SharedStreamConsequences)
{
    Use(L"<QmDialogInitDef><DLG><nWidth>300px</nWidth><nHeight>200</nHeight><bCaption>0</bCaption></DLG>"
        L"<ABC><nWidth>abc</nWidth><nHeight>200</nHeight></ABC>"
        L"<BIG><nWidth>99999999999</nWidth><nHeight>7</nHeight></BIG></QmDialogInitDef>"
        L"<QmStaticInitDef><TIP><tip>a b</tip><statesBmp>s.bmp</statesBmp><text>hello</text></TIP>"
        L"<LIST><tip>t</tip><statesBmp>one.bmp two.bmp</statesBmp><text>hello</text>"
        L"<nFontSize>12</nFontSize><colorBack>255</colorBack></LIST>"
        L"<AFTERFAIL><nWidth>x</nWidth><nHeight>5</nHeight><statesBmp>s.bmp</statesBmp>"
        L"<text>t</text></AFTERFAIL></QmStaticInitDef>");
    QmDialogInitDef px;
    ReadInitDef(px, L"DLG");
    EXPECT_EQ(px.nWidth, 300);
    EXPECT_EQ(px.nHeight, 0);
    EXPECT_EQ(px.bCaption, 1);

    QmDialogInitDef abc;
    ReadInitDef(abc, L"ABC");
    EXPECT_EQ(abc.nWidth, 0);
    EXPECT_EQ(abc.nHeight, 0);

    QmDialogInitDef big;
    ReadInitDef(big, L"BIG");
    EXPECT_EQ(big.nWidth, 0);
    EXPECT_EQ(big.nHeight, 0);

    QmStaticInitDef tip;
    ReadInitDef(tip, L"TIP");
    EXPECT_EQ(tip.tip, L"a");
    EXPECT_EQ(tip.statesBmp, (std::vector<std::wstring>{L"b", L"s.bmp"}));
    EXPECT_EQ(tip.text, L"hello");

    QmStaticInitDef list;
    ReadInitDef(list, L"LIST");
    EXPECT_EQ(list.statesBmp, (std::vector<std::wstring>{L"one.bmp", L"two.bmp"}));
    EXPECT_EQ(list.text, L"hello");
    EXPECT_EQ(list.nFontSize, 12);
    EXPECT_EQ(list.colorBack, 255u);
    EXPECT_EQ(list.fontName, L"宋体");

    // After a failed number the list takes nothing and ends the error state;
    // the word that failed is still in the stream for the next text key.
    QmStaticInitDef afterFail;
    ReadInitDef(afterFail, L"AFTERFAIL");
    EXPECT_EQ(afterFail.nHeight, 0);
    EXPECT_TRUE(afterFail.statesBmp.empty());
    EXPECT_EQ(afterFail.text, L"x");
}

TEST_F(DefinitionFile, ButtonStatesIncludeMissingItemsInOrder)
{
    Use(L"<QmMultiStateButtonInitDef><BTN><nWidth>96</nWidth><statesBmp>S1 NONE S2</statesBmp>"
        L"<tip>hint</tip></BTN></QmMultiStateButtonInitDef>"
        L"<QmOneStateBmp><S1><fnBaseBmp>b1</fnBaseBmp><fnPressBmp>p1</fnPressBmp></S1>"
        L"<S2><fnBaseBmp>b2</fnBaseBmp><fnActiveBmp>a2</fnActiveBmp><fnPressBmp>p2</fnPressBmp>"
        L"<fnDisableBmp>d2</fnDisableBmp></S2></QmOneStateBmp>");
    QmMultiStateButtonInitDef button;
    button.nKind = 1;
    ASSERT_TRUE(ReadInitDef(button, L"BTN"));
    EXPECT_EQ(button.nKind, 1);
    EXPECT_EQ(button.nWidth, 96);
    EXPECT_EQ(button.tip, L"hint");
    ASSERT_EQ(button.statesBmp.size(), 3u);
    EXPECT_EQ(button.statesBmp[0].fnBaseBmp, L"b1");
    EXPECT_EQ(button.statesBmp[0].fnActiveBmp, L"");
    EXPECT_EQ(button.statesBmp[1].fnBaseBmp + button.statesBmp[1].fnPressBmp, L"");
    EXPECT_EQ(button.statesBmp[2].fnDisableBmp, L"d2");
}

TEST_F(DefinitionFile, RereadingStartsFromDefaults)
{
    Use(L"<QmStaticInitDef><Y><nWidth>5</nWidth><text>why</text><fontName>仿宋</fontName>"
        L"<statesBmp>a b</statesBmp></Y><X><nHeight>7</nHeight></X></QmStaticInitDef>");
    QmStaticInitDef record;
    ASSERT_TRUE(ReadInitDef(record, L"Y"));
    ASSERT_TRUE(ReadInitDef(record, L"X"));
    EXPECT_EQ(record.nWidth, 0);
    EXPECT_EQ(record.nHeight, 7);
    EXPECT_EQ(record.text, L"");
    EXPECT_EQ(record.fontName, L"宋体");
    EXPECT_TRUE(record.statesBmp.empty());
}

TEST_F(DefinitionFile, NotUtf16OrEmptyGivesNoItems)
{
    ASSERT_TRUE(WriteBytes(m_dir.File(L"resource.data"), "<QmStaticInitDef><A><text>x</text></A></QmStaticInitDef>"));
    UnloadDefinitions();
    QmStaticInitDef record;
    EXPECT_FALSE(ReadInitDef(record, L"A"));
    ASSERT_TRUE(WriteBytes(m_dir.File(L"resource.data"), "\xFF\xFE"));
    UnloadDefinitions();
    EXPECT_FALSE(ReadInitDef(record, L"A"));
    // Once the text stayed empty, every lookup tries again.
    Use(L"<QmStaticInitDef><A><text>x</text></A></QmStaticInitDef>");
    ASSERT_TRUE(ReadInitDef(record, L"A"));
    EXPECT_EQ(record.text, L"x");
}

TEST_F(DefinitionFile, CurrentDirectoryWinsOverExecutableDirectory)
{
    std::wstring exeDir;
    ASSERT_TRUE(GetModuleDirectory(exeDir));
    const std::wstring exeCopy = exeDir + L"resource.data";
    ASSERT_TRUE(WriteUtf16(exeCopy, L"<QmStaticInitDef><A><text>exe</text></A></QmStaticInitDef>"));
    Use(L"<QmStaticInitDef><A><text>cwd</text></A></QmStaticInitDef>");
    QmStaticInitDef record;
    ReadInitDef(record, L"A");
    EXPECT_EQ(record.text, L"cwd");
    EXPECT_EQ(ResourceDir(), m_dir.Path());

    DeleteFileW(m_dir.File(L"resource.data").c_str());
    UnloadDefinitions();
    ReadInitDef(record, L"A");
    EXPECT_EQ(record.text, L"exe");
    EXPECT_EQ(ResourceDir(), exeDir);
    DeleteFileW(exeCopy.c_str());
}
