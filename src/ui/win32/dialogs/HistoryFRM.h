#pragma once
// "Usage History": a bar per day (or month) of the time on the list against
// the daily limit, in total or stacked by entry, and the export of the days
// to a CSV file. The window reads and writes nothing itself: the caller gives
// the days, the limit, the remembered range and the export.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/HistoryChart.h"
#include "ui/win32/skin/BaseFRM.h"

namespace vh::win32 {

struct THistorySource {
    // The program days from `first` to `last`, dates as whole days; by
    // month, one day per month instead, dated its first and holding the
    // month's sums (the chart averages a month over its days either way).
    std::function<std::vector<THistoryDay>(TDateTime first, TDateTime last, bool byMonth)> Days;
    std::function<TDateTime()> Today;
    std::function<std::int64_t()> LimitSeconds;
    std::function<int()> GetRange;
    std::function<void(int)> SetRange;
    // Writes every day kept to the file; raises with a message for the user.
    std::function<void(const std::filesystem::path&)> Export;
    // Where the save dialog proposes the file (Documents).
    std::function<std::filesystem::path()> ExportFolder;
};

// The chart's face: the grid, the limit line and the legend; the bars are
// controls of their own above it, so that each is an object screen readers
// and hints can name.
class THistoryBarView;

class THistoryChartView : public TControl {
public:
    using TControl::TControl;
    const THistoryChart* Chart = nullptr;
    std::vector<THistoryBarView*> Bars;  // placed by the form; their labels go under them
    bool Stacked = false;
    // The bars' area inside the control, 96-DPI pixels of the form.
    IntRect PlotRect() const noexcept;
    void Paint(TBitmap32& buffer) override;
    void ReleaseDrawingCaches() noexcept override { fontCache_.Release(); }

private:
    mutable TFontCache fontCache_;
};

class THistoryBarView : public TControl {
public:
    using TControl::TControl;
    const THistoryChartView* View = nullptr;  // whose chart and mode it draws
    std::size_t Index = 0;
    bool Selected = false;
    void Paint(TBitmap32& buffer) override;
    TAccessibleInfo AccessibleInfo() const override;
    void MouseEnter() override;
};

class TfrmHistory : public TfrmBase {
public:
    explicit TfrmHistory(THistorySource source);

    TLabel& lblRange;
    TImagePanel& pnlRangeCombo;
    TComboBox& cbxRange;
    TImageButton& btnCombo;
    TImageButton& btnMode;
    THistoryChartView& chart;
    TLabel& lblBar;
    TImageButton& btnExport;
    TImageButton& btnClose;
    TPopupMenu& pmnButtons;
    TMenuItem& miClose;

    void Execute();
    void Refresh();
    // The bar the hint line tells about, as the mouse or the arrow keys chose.
    void SelectBar(std::size_t index);
    // Asks for the file and exports; the file chosen, or empty when cancelled.
    std::filesystem::path ExportToChosenFile();
    // The file name proposed for an export made on `today`.
    static std::string ProposedExportName(TDateTime today);

    // Tests answer the save dialog; by default it is the system's.
    std::function<std::filesystem::path(const std::filesystem::path& proposed)> SaveFileChooser;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PlaceBars();
    THistorySource source_;
    THistoryChart data_;
    std::size_t selected_ = 0;
};

}  // namespace vh::win32
