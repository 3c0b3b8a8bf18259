#include "ui/win32/BaseFRM.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>
#include <variant>

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"
#include "ui/WebAddress.h"
#include "ui/win32/Skins.h"
#include "ui/win32/WarningFRM.h"

#ifndef VH_PRODUCT_WEB_SITE
#error "VH_PRODUCT_WEB_SITE must name the product web site"
#endif

namespace vh::win32 {
namespace {

constexpr int kHeaderHeight = 32;
constexpr int kComboArrowWidth = 26;
constexpr int kCornerEllipse = 20;
constexpr int kEditInset = 5;

AppearanceSource& Source() {
    static AppearanceSource source;
    return source;
}

std::function<void(const std::string&)>& WebOpener() {
    static std::function<void(const std::string&)> opener;
    return opener;
}

// Native controls with the tab order they had, lowest first (ties keep their
// order).
using RecordedTabOrders = std::vector<std::pair<int, TWinControl*>>;

// Sorts the record and sets each tab order again, lowest first.
void ReapplyTabOrders(RecordedTabOrders& recorded) {
    std::stable_sort(recorded.begin(), recorded.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [order, control] : recorded) control->SetTabOrder(order);
}

void SkinPanel(TImagePanel& panel, const TPicture& skin, int side) {
    panel.SetBackground(skin);
    panel.SetSideWidth(side);
    panel.SetSideHeight(side);
}

}  // namespace

void SetAppearanceSource(AppearanceSource source) {
    Source() = std::move(source);
}

TFormAppearance CurrentAppearance() {
    return Source() ? Source()() : TFormAppearance{};
}

// ---- TfrmBase ----

TfrmBase::TfrmBase(const std::string& caption, int clientWidth, int clientHeight)
    : pnlHeader(Add<TImagePanel>()), imgIcon(Add<TImage>()), lblCaption(Add<TLabel>()), pnlBody(Add<TImagePanel>()) {
    // The icon and caption lie on the header; the body is beneath both.
    // Z-order is creation order, so the body is painted first among them.
    SetCaption(caption);
    SetClientSize(clientWidth, clientHeight);
    CenterOnScreen();

    const TSkinSet& skins = Skins();
    pnlHeader.Name = "pnlHeader";
    SkinPanel(pnlHeader, skins.header, kHeaderSide);
    pnlHeader.OnMouseDown = [this](TControl& s, TMouseButton b, TShiftState sh, int x, int y) {
        CommonHeaderMouseDown(s, b, sh, x, y);
    };
    pnlHeader.OnMouseMove = [this](TControl& s, TShiftState sh, int x, int y) { CommonHeaderMouseMove(s, sh, x, y); };

    imgIcon.Name = "imgIcon";
    imgIcon.SetBounds(3, 3, 24, 24);
    imgIcon.Picture.Assign(skins.icon);

    lblCaption.Name = "lblCaption";
    TFontStyle captionFont;
    captionFont.color = RGB(255, 255, 255);
    lblCaption.SetFont(captionFont);
    lblCaption.OnMouseDown = pnlHeader.OnMouseDown;
    lblCaption.OnMouseMove = pnlHeader.OnMouseMove;

    pnlBody.Name = "pnlBody";
    SkinPanel(pnlBody, skins.body, kHeaderSide);
    AlignPanels();
}

void TfrmBase::AlignPanels() {
    const IntSize client = ClientSize();
    pnlHeader.SetBounds(0, 0, client.width, kHeaderHeight);
    lblCaption.SetBounds(32, 7, client.width - 32 - 8, 18);
    pnlBody.SetBounds(0, kHeaderHeight, client.width, client.height - kHeaderHeight);
}

void TfrmBase::AfterConstruction() {
    // The window is a frameless popup from the start: no caption bit.
    SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CAPTION));
    RoundWindowCorners(*this, Handle());
    for (const auto& control : WinControls()) {
        if (IsComboBox(control->Handle())) ClipComboBoxArrow(control->Handle());
    }
    lblCaption.SetCaption(Caption());
    const TFormAppearance appearance = CurrentAppearance();
    backgroundPicture_ = appearance.backgroundPicture;
    SetColor(appearance.color);
    SetFormTransparency(*this, appearance.transparency);
    SetFormTextColor(*this, appearance.textColor);
}

bool TfrmBase::CanMoveTo(int, int) {
    return true;
}

void TfrmBase::CommonHeaderMouseDown(TControl& sender, TMouseButton, TShiftState, int x, int y) {
    if (WindowState() != TWindowState::wsNormal) return;
    DragOrigin = {sender.Left() + x, sender.Top() + y};
}

void TfrmBase::CommonHeaderMouseMove(TControl& sender, TShiftState shift, int x, int y) {
    if (!shift.left || WindowState() != TWindowState::wsNormal || SlideState != 0) return;
    POINT screen{sender.Left() + x, sender.Top() + y};
    ClientToScreen(Handle(), &screen);
    const IntPoint wanted{screen.x - DragOrigin.x, screen.y - DragOrigin.y};
    if (!CanMoveTo(wanted.x, wanted.y)) return;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const IntRect window = WindowRect();
    const IntPoint place =
        ClampDragPosition(wanted, {window.Width(), window.Height()}, {work.right - work.left, work.bottom - work.top});
    SetLeft(place.x);
    SetTop(place.y);
}

void TfrmBase::FormPaint(TBitmap32& buffer) {
    TForm::FormPaint(buffer);
    if (!backgroundPicture_ || backgroundPicture_->Empty()) return;
    const IntSize tile = backgroundPicture_->Size();
    const IntSize size = buffer.Size();
    for (int i = 0; i <= size.width / tile.width; ++i) {
        for (int j = 0; j <= size.height / tile.height; ++j) {
            backgroundPicture_->Draw(buffer.Dc(), i * tile.width, j * tile.height);
        }
    }
}

void TfrmBase::FormShow() {
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TfrmBase::FormClose(TCloseAction& action) {
    action = TCloseAction::caFree;
}

LRESULT TfrmBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED) {
        AlignPanels();
        // A region made for the old size would cut the window wrongly.
        RoundWindowCorners(*this, Handle());
        return 0;
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

// ---- shared routines ----

void ShowWarning(const std::string& message, const std::string& caption) {
    TfrmWarning& form = CreateForm<TfrmWarning>();
    form.lblCaption.SetCaption(caption);
    form.SetCaption(caption);
    form.SetMessage(message);
    form.ShowModal();
}

bool CheckTimeLimitEdit(TForm& form, TWinControl& edit) {
    const TimeLimitCheck check = CheckTimeLimitText(edit.Text());
    if (check.accepted) return true;
    ShowWarning(check.message, kPleaseNote);
    form.SetActiveControl(&edit);
    return false;
}

std::string ProductWebPage(const std::string& page) {
    return std::string(VH_PRODUCT_WEB_SITE) + page;
}

void SetWebAddressOpenerForTesting(std::function<void(const std::string&)> opener) {
    WebOpener() = std::move(opener);
}

void OpenWebAddress(const std::string& address) {
    const std::string url = WebAddressForShell(address);
    if (WebOpener()) {
        WebOpener()(url);
        return;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        throw Exception("The web page " + url + " could not be opened (error " + std::to_string(result) + ")");
}

void SetFormTransparency(TForm& form, int percent) {
    const FormTransparency transparency = TransparencyFromPercent(percent);
    form.SetAlphaBlend(transparency.alphaBlend, transparency.alpha);
}

void SetFormTextColor(TForm& form, COLORREF color) {
    for (const auto& control : form.Controls()) {
        auto* label = dynamic_cast<TLabel*>(control.get());
        if (label && label->Font().color != form.Font.color) label->SetFontColor(color);
    }
    form.Invalidate();
}

void RoundWindowCorners(TForm&, HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    // The region leaves out its right and bottom edge: one more keeps the
    // window's last column and row.
    UniqueRegion region(CreateRoundRectRgn(0, 0, client.right + 1, client.bottom + 1, kCornerEllipse, kCornerEllipse));
    if (!region) throw Exception("CreateRoundRectRgn failed");
    if (SetWindowRgn(control, region.Get(), TRUE)) {
        static_cast<void>(region.Release());  // the window owns it now
    }
    if (IsEditControl(control)) {
        RECT text{};
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
        InflateRect(&text, -kEditInset, -kEditInset);
        SendMessageW(control, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&text));
    }
    InvalidateRect(control, nullptr, TRUE);
}

void ClipComboBoxArrow(HWND comboBox) {
    RECT client{};
    GetClientRect(comboBox, &client);
    UniqueRegion region(CreateRectRgn(0, 0, client.right - kComboArrowWidth, client.bottom));
    if (!region) throw Exception("CreateRectRgn failed");
    if (SetWindowRgn(comboBox, region.Get(), TRUE)) static_cast<void>(region.Release());
}

void PadListWithBlankRows(TForm&, TListBox& list) {
    int filled = 0;
    const int count = list.Count();
    for (int i = 0; i < count; ++i) {
        if (!list.Item(i).empty()) ++filled;
    }
    const int blanks = BlankRowsToPad(list.BoundsRect().Height(), list.ItemHeight(), filled, count - filled);
    if (blanks <= 0) return;
    list.BeginUpdate();
    try {
        for (int i = 0; i < blanks; ++i) list.AddItem("");
    } catch (...) {
        list.EndUpdate();
        throw;
    }
    list.EndUpdate();
}

}  // namespace vh::win32

namespace vh::win32 {

void ShowPageControls(TForm& form, TTabSheet& page) {
    const TPageControl& pageControl = page.PageControl();
    RecordedTabOrders recorded;
    for (TWinControl* control : page.TabList().Items()) recorded.emplace_back(control->TabOrder(), control);
    while (!page.Controls().empty()) {
        const TTabSheet::TAnyControl any = page.TakeFirst();
        if (auto* const* plain = std::get_if<TControl*>(&any)) {
            TControl& control = **plain;
            OffsetControl(control, pageControl.Left(), pageControl.Top());
            control.PageTag = &page;
            control.Page = nullptr;
            control.Invalidate();
        } else {
            TWinControl& control = *std::get<TWinControl*>(any);
            OffsetControl(control, pageControl.Left(), pageControl.Top());
            control.PageTag = &page;
            control.Page = nullptr;
            control.MoveToTabList(form.TabList());
            if (IsComboBox(control.Handle())) ClipComboBoxArrow(control.Handle());
            control.SetVisible(true);
        }
    }
    form.SetActiveControl(nullptr);
    ReapplyTabOrders(recorded);
    if (form.ActiveControl()) return;
    for (const auto& [order, control] : recorded) {
        if (control->CanFocus()) {
            form.SetActiveControl(control);
            return;
        }
    }
}

void ReturnPageControls(TForm& form) {
    RecordedTabOrders recorded;
    for (TWinControl* control : form.TabList().Items()) {
        if (control->PageTag) recorded.emplace_back(control->TabOrder(), control);
    }
    for (const auto& owned : form.Controls()) {
        TControl& control = *owned;
        TTabSheet* page = control.PageTag;
        if (!page) continue;
        control.Invalidate();
        OffsetControl(control, -page->PageControl().Left(), -page->PageControl().Top());
        control.Page = page;
        control.PageTag = nullptr;
        page->Append(&control);
    }
    for (const auto& owned : form.WinControls()) {
        TWinControl& control = *owned;
        TTabSheet* page = control.PageTag;
        if (!page) continue;
        if (form.ActiveControl() == &control) form.SetActiveControl(nullptr);
        control.SetVisible(false);
        OffsetControl(control, -page->PageControl().Left(), -page->PageControl().Top());
        control.Page = page;
        control.PageTag = nullptr;
        control.MoveToTabList(page->TabList());
        page->Append(&control);
    }
    ReapplyTabOrders(recorded);
}

}  // namespace vh::win32
