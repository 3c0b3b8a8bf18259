#include "ui/win32/skin/BaseFRM.h"

#include <utility>

#include "ui/win32/skin/DialogKit.h"
#include "ui/win32/skin/Skins.h"

namespace vh::win32 {
namespace {

constexpr int kHeaderHeight = 32;

AppearanceSource& Source() {
    static AppearanceSource source;
    return source;
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
    SkinPanel(pnlHeader, pnlHeader.Name, skins.header, kHeaderSide);
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
    SkinPanel(pnlBody, pnlBody.Name, skins.body, kHeaderSide);
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
    const IntRect at = sender.DeviceRect();
    DragOrigin = {at.left + x, at.top + y};
}

void TfrmBase::CommonHeaderMouseMove(TControl& sender, TShiftState shift, int x, int y) {
    if (!shift.left || WindowState() != TWindowState::wsNormal || SlideState != 0) return;
    const IntRect at = sender.DeviceRect();
    POINT screen{at.left + x, at.top + y};
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

void TfrmBase::FormDpiChanged() {
    for (const auto& control : WinControls()) {
        if (IsComboBox(control->Handle())) ClipComboBoxArrow(control->Handle());
    }
    RoundWindowCorners(*this, Handle());
}

void TfrmBase::FormPaint(TBitmap32& buffer) {
    TForm::FormPaint(buffer);
    if (!backgroundPicture_ || backgroundPicture_->Empty()) return;
    // Tiled at the display scale, so the bar at 150 % shows the same part of
    // the picture as at 100 %, without a seam in the middle.
    const IntSize tile = backgroundPicture_->SizeAt(Dpi());
    if (tile.width <= 0 || tile.height <= 0) return;
    const IntSize size = buffer.Size();
    for (int i = 0; i <= size.width / tile.width; ++i) {
        for (int j = 0; j <= size.height / tile.height; ++j) {
            backgroundPicture_->Draw(buffer.Dc(), i * tile.width, j * tile.height, Dpi());
        }
    }
}

void TfrmBase::ReleaseDrawingCaches() noexcept {
    TForm::ReleaseDrawingCaches();
    // Shared with the other forms, which make it again at their next paint.
    if (backgroundPicture_) backgroundPicture_->ReleaseDrawable();
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

}  // namespace vh::win32
