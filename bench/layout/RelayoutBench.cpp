// Relayout of a large cell tree: layout plus placement of windowless
// elements, without any window to move.
#include <windows.h>

#include <cstdio>
#include <string>

#include "layout/QmCell.h"
#include "support/BenchTimer.h"

namespace {

class BenchPicture : public CellPicture {
public:
    BenchPicture(int width, int height) : m_rect{0, 0, width, height} {}
    void GetWindowRect(RECT* rect) const override { *rect = m_rect; }
    void MoveWindow(const RECT& rect, BOOL) override { m_rect = rect; }
    HWND GetParent() const override { return nullptr; }
    BOOL IsWindowVisible() const override { return TRUE; }
    void ShowWindow(int) override {}
    void Invalidate(BOOL) override {}
    bool HasImage() const override { return false; }
    void DrawImage(HDC, const RECT&) const override {}

private:
    RECT m_rect;
};

const wchar_t* const kFirstPlacements[] = {
    L"name=a, inside=true, pos=atLeft, mx=2",
    L"name=a, inside=true, fill=true, mx=1, my=1",
    L"name=a, pos=atCenter",
    L"name=a, fill=true, ratio=true, pos=atTop, mx=3",
};
const wchar_t* const kSecondPlacements[] = {
    L"anchor=a, inside=false, pos=atRight, mx=3",
    L"pos=atRightBottom, mx=4, my=5",
    L"anchor=a, inside=false, pos=atBottom, my=-1",
    L"fill=true, inside=false, pos=atLeft, anchor=a",
};

// Every cell gets two pictures, the second often anchored to the first.
void Populate(QmCell& cell, size_t& serial)
{
    cell.AddCellCtrl(new BenchPicture(40, 20), kFirstPlacements[serial % 4]);
    cell.AddCellCtrl(new BenchPicture(16, 16), kSecondPlacements[serial % 4]);
    ++serial;
    for (size_t i = 0; i < cell.GetChildCount(); ++i)
        Populate(*cell.GetChild(i), serial);
}

// 1 + 9 + 90 + 900 = 1000 cells; 2 pictures each = 2000 attachments.
std::unique_ptr<QmCell> BuildTree()
{
    auto root = std::make_unique<QmCell>();
    root->Split(L"row(Head(40), 0.1, *, 30, 0.2, 25, Foot(0.05), 20, 5)");
    for (size_t i = 0; i < root->GetChildCount(); ++i) {
        QmCell* row = root->GetChild(i);
        row->Split(L"col(5, 0.1, 60, *, 0.15, 40, 0.1, 30, 20, 5)");
        for (size_t j = 0; j < row->GetChildCount(); ++j)
            row->GetChild(j)->Split(j % 2 ? L"row(4, 0.2, *, 8, 0.1, 3, 3, 0.25, 6, 2)"
                                          : L"col(0.3, 7, *, 0.1, 9, 2, 2, 0.05, 1, 1)");
    }
    size_t serial = 0;
    Populate(*root, serial);
    return root;
}

size_t CountCells(const QmCell& cell)
{
    size_t count = 1;
    for (size_t i = 0; i < cell.GetChildCount(); ++i)
        count += CountCells(*cell.GetChild(i));
    return count;
}

size_t CountAttachments(const QmCell& cell)
{
    size_t count = cell.GetControlCount();
    for (size_t i = 0; i < cell.GetChildCount(); ++i)
        count += CountAttachments(*cell.GetChild(i));
    return count;
}

} // namespace

int main()
{
    const std::unique_ptr<QmCell> root = BuildTree();
    std::printf("tree: %zu cells, %zu windowless attachments\n", CountCells(*root),
                CountAttachments(*root));
    const RECT clients[] = {{0, 0, 800, 600}, {0, 0, 1280, 1024}};
    size_t turn = 0;
    const BenchResult result = MeasureMicros(
        [&] {
            const RECT& client = clients[turn++ % 2];
            root->Layout(client);
            root->PlaceControls(client);
        },
        200, 2000);
    PrintBenchResult("relayout (layout + placement), per relayout", result);

    const BenchResult build = MeasureMicros([] { BuildTree(); }, 5, 50);
    PrintBenchResult("build the tree (split + attach + destroy), per tree", build);
    return 0;
}
