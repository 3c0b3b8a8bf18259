#include "ui/win32/main/MainDocking.h"

#include "storage/AppearancePreferences.h"

namespace vh::win32 {
namespace {

// Turns a timer on or off only on a change, so a running countdown is not
// restarted.
void Match(TTimer& timer, bool running) {
    if (timer.Enabled() != running) timer.SetEnabled(running);
}

}  // namespace

TMainDocking::TMainDocking(TfrmBase& form, TAppearancePreferences& preferences)
    : tmrDeactivation(form.AddTimer()),
      tmrAutohide(form.AddTimer()),
      tmrAutohideSlide(form.AddTimer()),
      form_(form),
      preferences_(preferences) {
    tmrDeactivation.SetInterval(kDeactivationInterval);
    tmrAutohide.SetInterval(kAutohideInterval);
    tmrAutohideSlide.SetInterval(kAutohideSlideInterval);
    tmrDeactivation.OnTimer = [this](TTimer&) {
        autoHide_.SetPaused(Paused());
        autoHide_.DeactivationTick(KeepShownNow(), autohide_);
        Sync();
    };
    tmrAutohide.OnTimer = [this](TTimer&) {
        autoHide_.SetPaused(Paused());
        autoHide_.AutohideTick(form_.WindowState() == TWindowState::wsNormal, KeepShownNow(), autohide_);
        Sync();
    };
    tmrAutohideSlide.OnTimer = [this](TTimer&) {
        autoHide_.SetPaused(Paused());
        // The work area may have changed since the last step.
        const IntRect window = form_.WindowRect();
        autoHide_.SetSliverWidth(form_.Scale(kSliverWidth));
        const int left = autoHide_.SlideTick(window.left, window.Width(), ReadWorkArea(), side_, autohide_);
        form_.SetLeft(left);
        Sync();
    };
}

TMainDocking::~TMainDocking() {
    for (TTimer* timer : {&tmrDeactivation, &tmrAutohide, &tmrAutohideSlide}) timer->OnTimer = nullptr;
}

void TMainDocking::Start() {
    side_ = preferences_.GetAlign();
    place_ = preferences_.GetAlignVertical();
    autohide_ = preferences_.GetAutohide();
    ReDock();
    tmrDeactivation.SetEnabled(true);
}

void TMainDocking::WindowShown(bool shown) {
    tmrDeactivation.SetEnabled(shown);
}

bool TMainDocking::Paused() const {
    return IsPaused && IsPaused();
}

bool TMainDocking::KeepShownNow() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT client{};
    GetClientRect(form_.Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(form_.Handle(), &origin);
    const IntRect onScreen{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    return KeepShown(Paused(), GetForegroundWindow() == form_.Handle(), onScreen, {cursor.x, cursor.y});
}

IntRect TMainDocking::ReadWorkArea() const {
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {work.left, work.top, work.right, work.bottom};
}

void TMainDocking::ReDock() {
    workArea_ = ReadWorkArea();
    const bool lite = IsLiteView && IsLiteView();
    // The work area is in device pixels; the lite view's height is a form
    // definition's, scaled here.
    const IntSize client = form_.DeviceClientSize();
    const int liteHeight = LiteViewHeight ? form_.Scale(LiteViewHeight()) : client.height;
    const int height = DockedWindowHeight(workArea_, lite, liteHeight);
    // Resizing re-applies the rounded corners (the base form's WM_SIZE).
    if (height != client.height) form_.SetDeviceClientSize(client.width, height);
    const IntRect window = form_.WindowRect();
    IntPoint place = DockPosition(workArea_, {window.Width(), window.Height()}, side_, place_, lite);
    // A hidden window stays hidden at the new edge instead of reappearing
    // while its slide state still says hidden.
    autoHide_.SetSliverWidth(form_.Scale(kSliverWidth));
    if (autoHide_.State() == TSlideState::Hidden)
        place.x = HiddenLeft(workArea_, window.Width(), side_, autoHide_.SliverWidth());
    form_.SetLeft(place.x);
    form_.SetTop(place.y);
}

void TMainDocking::SetDockSide(std::uint8_t side) {
    if (side == side_) return;
    side_ = side;
    ReDock();
    preferences_.SetAlign(side);
}

void TMainDocking::SetVerticalPlace(std::uint8_t place) {
    if (place == place_) return;
    place_ = place;
    ReDock();
    preferences_.SetAlignVertical(place);
}

void TMainDocking::SetAutohide(bool on) {
    preferences_.SetAutohide(on);
    autohide_ = on;
}

bool TMainDocking::CanMoveTo(int newLeft, int newTop) {
    const DockChange change = DockChangeForDrag({newLeft, newTop}, workArea_, side_, IsLiteView && IsLiteView());
    if (change.verticalPlace) SetVerticalPlace(*change.verticalPlace);
    if (change.side) SetDockSide(*change.side);
    return false;
}

void TMainDocking::BodyMouseMove() {
    autoHide_.BodyMouseMove(autohide_);
    Sync();
}

bool TMainDocking::ShowIfHidden() {
    if (autoHide_.State() != TSlideState::Hidden) return false;
    autoHide_.ShowHidden();
    Sync();
    return true;
}

void TMainDocking::Sync() {
    Match(tmrAutohide, autoHide_.AutohideTimerRunning());
    Match(tmrAutohideSlide, autoHide_.SlideTimerRunning());
    form_.SlideState = static_cast<std::uint8_t>(autoHide_.State());
}

}  // namespace vh::win32
