#include "ui/win32/dialogs/HistoryFRM.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/skin/DialogKit.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 600;
constexpr int kRowTop = 45;
constexpr int kComboLeft = 66;
constexpr int kComboWidth = 150;
constexpr int kComboFrameHeight = 28;
constexpr int kComboDropButton = 26;
constexpr int kChartLeft = 10;
constexpr int kChartTop = 82;
constexpr int kChartWidth = kClientWidth - 2 * kChartLeft;
constexpr int kChartHeight = 240;
// Inside the chart: the hour labels to the left, the day labels and the
// legend below the bars.
constexpr int kPlotLeft = 50;
constexpr int kPlotTop = 10;
constexpr int kPlotRight = 10;
constexpr int kPlotBottom = 50;
constexpr int kDayLabelHeight = 18;
constexpr int kMarkerRoom = 5;  // below the plot, where the chosen bar is marked
constexpr int kBarLineTop = kChartTop + kChartHeight + 6;
constexpr int kButtonTop = kBarLineTop + 26;
constexpr int kButtonHeight = 32;
constexpr int kClientHeight = kButtonTop + kButtonHeight + 10;
constexpr std::size_t kMostBars = 90;

constexpr COLORREF kPlotColor = RGB(32, 32, 32);
constexpr COLORREF kGridColor = RGB(80, 80, 80);
constexpr COLORREF kBarColor = RGB(86, 166, 238);
constexpr COLORREF kOverLimitColor = RGB(230, 76, 60);
constexpr COLORREF kLimitLineColor = RGB(255, 204, 0);
constexpr COLORREF kSelectedColor = RGB(255, 255, 255);
// The stacked entries, then "Other" in grey.
constexpr std::array<COLORREF, 5> kSeriesColors{RGB(86, 166, 238), RGB(120, 200, 110), RGB(190, 120, 220),
                                                RGB(240, 150, 60), RGB(70, 200, 200)};
constexpr COLORREF kOtherColor = RGB(150, 150, 150);

COLORREF SeriesColor(const THistoryChart& chart, std::size_t series) {
    const bool other = series + 1 == chart.Legend.size() && chart.Legend.back() == kHistoryOtherText;
    return other ? kOtherColor : kSeriesColors[series % kSeriesColors.size()];
}

void FillDeviceRect(TBitmap32& buffer, RECT rect, COLORREF color) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    UniqueBrush brush(CreateSolidBrush(color));
    FillRect(buffer.Dc(), &rect, brush.Get());
}

// Device pixels above the plot's bottom for a time.
int HeightOf(std::int64_t seconds, std::int64_t scale, int plotHeight) {
    if (scale <= 0) return 0;
    return static_cast<int>(std::min<std::int64_t>(plotHeight, seconds * plotHeight / scale));
}

std::wstring ShortDuration(std::int64_t seconds) {
    return Utf8ToWide(DurationInWords(seconds));
}

}  // namespace

IntRect THistoryChartView::PlotRect() const noexcept {
    const IntRect bounds = BoundsRect();
    return {bounds.left + kPlotLeft, bounds.top + kPlotTop, bounds.right - kPlotRight, bounds.bottom - kPlotBottom};
}

void THistoryChartView::Paint(TBitmap32& buffer) {
    if (!Chart) return;
    const TForm& form = Form();
    const IntRect device = DeviceRect();
    const IntRect design = BoundsRect();
    const IntRect plot = PlotRect();
    const int left = device.left + form.Scale(plot.left - design.left);
    const int top = device.top + form.Scale(plot.top - design.top);
    const int right = device.right - form.Scale(design.right - plot.right);
    const int bottom = device.bottom - form.Scale(design.bottom - plot.bottom);
    FillDeviceRect(buffer, {device.left, device.top, device.right, device.bottom}, kPlotColor);

    TFontStyle style = WhiteFont(false);
    style.height = -11;
    const ScopedSelect font(buffer.Dc(), fontCache_.Get(style, Dpi()));
    SetBkMode(buffer.Dc(), TRANSPARENT);
    SetTextColor(buffer.Dc(), style.color);
    const int line = std::max(1, form.Scale(1));
    for (std::int64_t at = 0; Chart->GridSeconds > 0 && at <= Chart->ScaleSeconds; at += Chart->GridSeconds) {
        const int y = bottom - HeightOf(at, Chart->ScaleSeconds, bottom - top);
        FillDeviceRect(buffer, {left, y, right, y + line}, kGridColor);
        RECT label{device.left, y - form.Scale(8), left - form.Scale(6), y + form.Scale(8)};
        const std::wstring text = at == 0 ? std::wstring(L"0") : ShortDuration(at);
        DrawTextW(buffer.Dc(), text.c_str(), static_cast<int>(text.size()), &label,
                  DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    // The day labels under their bars, as many as fit side by side.
    const std::size_t bars = std::min(Chart->Bars.size(), Bars.size());
    if (bars > 0) {
        SIZE widest{};
        for (const THistoryBar& bar : Chart->Bars) {
            const std::wstring text = Utf8ToWide(bar.Label);
            SIZE size{};
            GetTextExtentPoint32W(buffer.Dc(), text.c_str(), static_cast<int>(text.size()), &size);
            widest.cx = std::max(widest.cx, size.cx);
        }
        const int pitch = std::max(1, Bars[0]->DeviceRect().Width());
        const auto every = static_cast<std::size_t>((widest.cx + form.Scale(6) + pitch - 1) / pitch);
        for (std::size_t i = 0; i < bars; i += std::max<std::size_t>(1, every)) {
            const IntRect bar = Bars[i]->DeviceRect();
            const int center = (bar.left + bar.right) / 2;
            RECT label{center - static_cast<int>(widest.cx), bottom + form.Scale(kMarkerRoom + 1),
                       center + static_cast<int>(widest.cx), bottom + form.Scale(kMarkerRoom + kDayLabelHeight)};
            const std::wstring text = Utf8ToWide(Chart->Bars[i].Label);
            DrawTextW(buffer.Dc(), text.c_str(), static_cast<int>(text.size()), &label,
                      DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }

    // The limit line runs through the gaps; each bar draws it across itself.
    if (Chart->LimitSeconds > 0) {
        const int y = bottom - HeightOf(Chart->LimitSeconds, Chart->ScaleSeconds, bottom - top);
        FillDeviceRect(buffer, {left, y - line, right, y + line}, kLimitLineColor);
    }

    if (!Stacked || Chart->Legend.empty()) return;
    const int legendTop = bottom + form.Scale(kMarkerRoom + kDayLabelHeight + 2);
    const int slot = (right - left) / static_cast<int>(Chart->Legend.size());
    for (std::size_t i = 0; i < Chart->Legend.size(); ++i) {
        const int x = left + static_cast<int>(i) * slot;
        const int box = form.Scale(10);
        FillDeviceRect(buffer, {x, legendTop + form.Scale(3), x + box, legendTop + form.Scale(3) + box},
                       SeriesColor(*Chart, i));
        RECT label{x + box + form.Scale(4), legendTop, x + slot - form.Scale(4), legendTop + form.Scale(16)};
        const std::wstring text = Utf8ToWide(Chart->Legend[i]);
        DrawTextW(buffer.Dc(), text.c_str(), static_cast<int>(text.size()), &label,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void THistoryBarView::Paint(TBitmap32& buffer) {
    const THistoryChart* chart = View ? View->Chart : nullptr;
    if (!chart || Index >= chart->Bars.size()) return;
    const THistoryBar& bar = chart->Bars[Index];
    const IntRect whole = DeviceRect();
    // The control reaches below the plot by the marker's room.
    const IntRect device{whole.left, whole.top, whole.right, whole.bottom - Form().Scale(kMarkerRoom)};
    const int plotHeight = device.Height();
    // A gap between neighbours, at least a pixel.
    const int gap = std::max(1, device.Width() / 5);
    const int left = device.left + gap / 2;
    const int right = device.right - (gap - gap / 2);
    if (View->Stacked) {
        int base = device.bottom;
        for (const THistorySegment& segment : bar.Segments) {
            const int height = HeightOf(segment.Seconds, chart->ScaleSeconds, plotHeight);
            FillDeviceRect(buffer, {left, base - height, right, base}, SeriesColor(*chart, segment.Series));
            base -= height;
        }
    } else {
        const int height = HeightOf(bar.Seconds, chart->ScaleSeconds, plotHeight);
        FillDeviceRect(buffer, {left, device.bottom - height, right, device.bottom},
                       bar.OverLimit ? kOverLimitColor : kBarColor);
    }
    const int line = std::max(1, Form().Scale(1));
    if (chart->LimitSeconds > 0) {
        const int y = device.bottom - HeightOf(chart->LimitSeconds, chart->ScaleSeconds, plotHeight);
        FillDeviceRect(buffer, {device.left, y - line, device.right, y + line}, kLimitLineColor);
    }
    // The chosen bar is marked below its foot, where no bar height hides it.
    if (Selected) FillDeviceRect(buffer, {left, device.bottom + line, right, device.bottom + 4 * line}, kSelectedColor);
}

TAccessibleInfo THistoryBarView::AccessibleInfo() const {
    const THistoryChart* chart = View ? View->Chart : nullptr;
    if (!Visible() || !chart || Index >= chart->Bars.size()) return {};
    TAccessibleInfo info;
    info.role = TAccessibleRole::Graphic;
    info.name = chart->Bars[Index].Text;
    return info;
}

void THistoryBarView::MouseEnter() {
    static_cast<TfrmHistory&>(Form()).SelectBar(Index);
}

TfrmHistory::TfrmHistory(THistorySource source)
    : TfrmBase("Usage History", kClientWidth, kClientHeight),
      lblRange(Add<TLabel>()),
      pnlRangeCombo(Add<TImagePanel>()),
      cbxRange(Add<TComboBox>()),
      btnCombo(Add<TImageButton>()),
      btnMode(Add<TImageButton>()),
      chart(Add<THistoryChartView>()),
      lblBar(Add<TLabel>()),
      btnExport(Add<TImageButton>()),
      btnClose(Add<TImageButton>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miClose(pmnButtons.Add("miClose", "Close", VK_ESCAPE)),
      source_(std::move(source)) {
    const TSkinSet& skins = Skins();
    lblRange.Name = "lblRange";
    lblRange.SetFont(WhiteFont());
    lblRange.SetBounds(10, kRowTop + 5, kComboLeft - 16, 18);
    lblRange.SetCaption("Show:");

    SkinPanel(pnlRangeCombo, "pnlRangeCombo", skins.panelFrame, kHeaderSide);
    pnlRangeCombo.SetBounds(kComboLeft - 2, kRowTop - 2, kComboWidth + 4, kComboFrameHeight);
    cbxRange.Name = "cbxRange";
    cbxRange.SetBounds(kComboLeft, kRowTop, kComboWidth, 120);
    for (const char* text : kHistoryRangeTexts) cbxRange.AddItem(text);
    cbxRange.OnChange = [this](TWinControl&) {
        if (source_.SetRange) source_.SetRange(cbxRange.ItemIndex());
        Refresh();
    };
    SkinComboButton(btnCombo, "btnCombo");
    btnCombo.SetBounds(kComboLeft + kComboWidth - kComboDropButton, kRowTop, kComboDropButton, kComboFrameHeight - 4);
    btnCombo.OnClick = [this](TControl&) { cbxRange.DropDown(); };
    btnCombo.AccessibleName = "Choose the period";

    SkinDialogButton(btnMode, "btnMode", "By Entry", kComboLeft + kComboWidth + 14, kRowTop - 3, 100);
    btnMode.OnClick = [this](TControl&) {
        chart.Stacked = !chart.Stacked;
        btnMode.SetCaption(chart.Stacked ? "Total" : "By Entry");
        Invalidate();
    };

    chart.Name = "chart";
    chart.SetBounds(kChartLeft, kChartTop, kChartWidth, kChartHeight);
    chart.Chart = &data_;
    // Above the chart's face (they cover nothing else); hidden until a range shows them.
    for (std::size_t i = 0; i < kMostBars; ++i) chart.Bars.push_back(&Add<THistoryBarView>());
    for (std::size_t i = 0; i < chart.Bars.size(); ++i) {
        chart.Bars[i]->Name = "bar" + std::to_string(i);
        chart.Bars[i]->View = &chart;
        chart.Bars[i]->Index = i;
        chart.Bars[i]->SetVisible(false);
    }

    lblBar.Name = "lblBar";
    lblBar.SetFont(WhiteFont(false));
    lblBar.SetBounds(10, kBarLineTop, kClientWidth - 20, 18);

    SkinDialogButton(btnExport, "btnExport", "Export...", kClientWidth - 10 - 2 * 90 - 8, kButtonTop, 90);
    SkinDialogButton(btnClose, "btnClose", "Close", kClientWidth - 10 - 90, kButtonTop, 90);
    btnExport.OnClick = [this](TControl&) { ExportToChosenFile(); };
    btnClose.OnClick = [this](TControl&) { Close(); };
    BindHiddenShortcuts({&miClose}, [this] { Close(); });
}

void TfrmHistory::Execute() {
    const int range = source_.GetRange ? source_.GetRange() : 0;
    cbxRange.SetItemIndex(std::clamp(range, 0, static_cast<int>(kHistoryRangeTexts.size()) - 1));
    Refresh();
    CenterOnScreen();
    Show();
    SetForegroundWindow(Handle());
    SetFocus(Handle());
}

void TfrmHistory::Refresh() {
    const auto range = static_cast<THistoryRange>(std::clamp(cbxRange.ItemIndex(), 0, 3));
    const TDateTime today = source_.Today();
    const THistoryDates dates = HistoryDates(range, today);
    data_ = BuildHistoryChart(range, today, source_.Days(dates.First, dates.Last, range == THistoryRange::Months12),
                              source_.LimitSeconds());
    PlaceBars();
    SelectBar(data_.Bars.empty() ? 0 : data_.Bars.size() - 1);
    // Screen readers read the bars again.
    NotifyWinEvent(EVENT_OBJECT_REORDER, Handle(), OBJID_CLIENT, CHILDID_SELF);
    Invalidate();
}

void TfrmHistory::PlaceBars() {
    const IntRect plot = chart.PlotRect();
    const int count = static_cast<int>(std::min(data_.Bars.size(), chart.Bars.size()));
    const int pitch = count > 0 ? plot.Width() / count : 0;
    const int offset = (plot.Width() - pitch * count) / 2;
    for (int i = 0; i < static_cast<int>(chart.Bars.size()); ++i) {
        THistoryBarView& bar = *chart.Bars[static_cast<std::size_t>(i)];
        const bool shown = i < count;
        if (shown) bar.SetBounds(plot.left + offset + i * pitch, plot.top, pitch, plot.Height() + kMarkerRoom);
        bar.SetVisible(shown);
    }
}

void TfrmHistory::SelectBar(std::size_t index) {
    if (index >= data_.Bars.size()) {
        lblBar.SetCaption("");
        return;
    }
    if (selected_ < chart.Bars.size()) {
        chart.Bars[selected_]->Selected = false;
        chart.Bars[selected_]->Invalidate();
    }
    selected_ = index;
    chart.Bars[index]->Selected = true;
    chart.Bars[index]->Invalidate();
    lblBar.SetCaption(data_.Bars[index].Text);
    NotifyAccessibleChange(EVENT_OBJECT_FOCUS, *chart.Bars[index]);
}

std::string TfrmHistory::ProposedExportName(TDateTime today) {
    const DateTimeParts parts = DecodeDateTime(today);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
    return std::string("Vornhalt usage ") + date + ".csv";
}

std::filesystem::path TfrmHistory::ExportToChosenFile() {
    const std::filesystem::path folder = source_.ExportFolder ? source_.ExportFolder() : std::filesystem::path();
    const std::filesystem::path proposed = folder / Utf8ToWide(ProposedExportName(source_.Today()));
    std::filesystem::path chosen;
    if (SaveFileChooser) {
        chosen = SaveFileChooser(proposed);
    } else {
        std::wstring file = proposed.filename().wstring();
        file.resize(MAX_PATH * 4, L'\0');
        const std::wstring initialFolder = folder.wstring();
        OPENFILENAMEW save{};
        save.lStructSize = sizeof save;
        save.hwndOwner = Handle();
        save.lpstrFilter = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
        save.lpstrFile = file.data();
        save.nMaxFile = static_cast<DWORD>(file.size());
        save.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
        save.lpstrDefExt = L"csv";
        save.lpstrTitle = L"Export Usage History";
        save.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
        if (GetSaveFileNameW(&save)) chosen = std::filesystem::path(file.c_str());
    }
    if (chosen.empty()) return {};
    try {
        source_.Export(chosen);
    } catch (const Exception& error) {
        ShowWarning(error.what(), "Export");
        return {};
    }
    lblBar.SetCaption("Exported to " + WideToUtf8(chosen.filename().wstring()));
    return chosen;
}

LRESULT TfrmHistory::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && !data_.Bars.empty()) {
        const std::size_t last = data_.Bars.size() - 1;
        switch (wParam) {
            case VK_LEFT: SelectBar(selected_ > 0 ? selected_ - 1 : 0); return 0;
            case VK_RIGHT: SelectBar(std::min(selected_ + 1, last)); return 0;
            case VK_HOME: SelectBar(0); return 0;
            case VK_END: SelectBar(last); return 0;
            default: break;
        }
    }
    return TfrmBase::HandleMessage(message, wParam, lParam);
}

}  // namespace vh::win32
