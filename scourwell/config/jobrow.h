#pragma once

#include <QString>
#include <array>

// Row icons of the job list; only rows showing Enabled are launched by the check timer.
namespace RowIcon {
constexpr int Enabled = 1;
constexpr int Disabled = 2;
constexpr int EnabledPassed = 3;
constexpr int DisabledPassed = 4;
constexpr int FolderMissing = 5;
constexpr int Running = 6;
} // namespace RowIcon

struct JobCell
{
    QString text;
    QString tag;
    bool operator==(const JobCell&) const = default;
};

// One job as the list shows it. Cell 0 is the row itself (text FolderLoc, tag Status);
// cells 1..6 are the sub-items. The stable id is given by JobTable and never reused.
struct JobRow
{
    quint64 id = 0;
    int icon = RowIcon::Enabled;
    QString toolTip;
    std::array<JobCell, 7> cells;

    // Column 1..7 of the list, as the sorting addresses cells.
    JobCell& Cell(int column) { return cells[column - 1]; }
    const JobCell& Cell(int column) const { return cells[column - 1]; }
    JobCell& SubItem(int n) { return cells[n]; }
    const JobCell& SubItem(int n) const { return cells[n]; }

    const QString& FolderLoc() const { return cells[0].text; }
    const QString& Status() const { return cells[0].tag; }
    const QString& ValPurge() const { return cells[1].text; }
    const QString& SavedIcon() const { return cells[1].tag; }
    const QString& ValOfPurge() const { return cells[2].text; }
    const QString& Description() const { return cells[2].tag; }
    const QString& Style() const { return cells[3].text; }
    const QString& FileFolderStyle() const { return cells[3].tag; }
    const QString& ValEvery() const { return cells[4].text; }
    const QString& ValOfEvery() const { return cells[5].text; }
    const QString& NextRun() const { return cells[6].text; }

    void SetFolderLoc(const QString& folder)
    {
        cells[0].text = folder;
        toolTip = folder;
    }
    void SetStatus(const QString& s) { cells[0].tag = s; }
    void SetNextRun(const QString& s) { cells[6].text = s; }

    bool operator==(const JobRow&) const = default;
};
