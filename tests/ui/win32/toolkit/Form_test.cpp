#include "ui/win32/toolkit/Form.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "UiTestSupport.h"
#include "ui/win32/toolkit/ExceptionBoundary.h"
#include "ui/win32/toolkit/ImageControls.h"

namespace vh::win32 {
namespace {

class TPlainForm : public TForm {
public:
    TPlainForm() { SetClientSize(120, 80); }
    bool freeOnClose = true;

protected:
    void FormClose(TCloseAction& action) override {
        action = freeOnClose ? TCloseAction::caFree : TCloseAction::caHide;
    }
};

using Toolkit = testing::UiTest;

bool IsLive(const TForm* form) {
    for (TForm* live : LiveForms()) {
        if (live == form) return true;
    }
    return false;
}

TEST_F(Toolkit, ClosedFormFreesItselfOnceMessagesRun) {
    auto& form = CreateForm<TPlainForm>();
    const HWND window = form.Handle();
    form.Show();
    form.Close();
    EXPECT_TRUE(IsLive(&form));  // still readable until messages are handled
    EXPECT_FALSE(IsWindowVisible(window));
    ProcessMessages();
    EXPECT_FALSE(IsLive(&form));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Toolkit, HiddenFormStaysAlive) {
    auto& form = CreateForm<TPlainForm>();
    form.freeOnClose = false;
    form.Show();
    form.Close();
    ProcessMessages();
    EXPECT_TRUE(IsLive(&form));
    EXPECT_FALSE(form.Visible());
}

TEST_F(Toolkit, ModalLoopDisablesOtherWindowsAndReturnsTheResult) {
    auto& owner = CreateForm<TPlainForm>();
    owner.Show();
    auto& dialog = CreateForm<TPlainForm>();
    bool ownerDisabled = false;
    testing::WhenModal([&](TForm& modal) {
        ownerDisabled = !IsWindowEnabled(owner.Handle());
        EXPECT_EQ(&modal, &dialog);
        modal.SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    ProcessMessages();
    EXPECT_FALSE(IsLive(&dialog));
    EXPECT_TRUE(IsLive(&owner));
}

TEST_F(Toolkit, CloseDuringAModalLoopCancelsIt) {
    auto& dialog = CreateForm<TPlainForm>();
    testing::WhenModal([](TForm& modal) { PostMessageW(modal.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST_F(Toolkit, ExceptionInAHandlerReachesTheApplicationHandler) {
    std::string seen;
    SetApplicationExceptionHandler([&](const std::exception& e) { seen = e.what(); });
    auto& form = CreateForm<TPlainForm>();
    auto& button = form.Add<TImageButton>();
    button.SetBounds(10, 10, 50, 30);
    button.OnClick = [](TControl&) { throw std::runtime_error("click failed"); };
    testing::ClickAt(form, button.BoundsRect());
    EXPECT_EQ(seen, "click failed");
    EXPECT_TRUE(IsWindow(form.Handle()));  // the window goes on
}

TEST_F(Toolkit, ClickNeedsPressAndReleaseOnTheSameControl) {
    auto& form = CreateForm<TPlainForm>();
    auto& button = form.Add<TImageButton>();
    button.SetBounds(10, 10, 50, 30);
    int clicks = 0;
    button.OnClick = [&](TControl&) { ++clicks; };
    testing::SendMouse(form, WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    testing::SendMouse(form, WM_LBUTTONUP, 0, 100, 70);  // released outside
    EXPECT_EQ(clicks, 0);
    testing::SendMouse(form, WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    testing::SendMouse(form, WM_LBUTTONUP, 0, 25, 25);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Toolkit, HiddenShortcutsRunWithoutModifiers) {
    auto& form = CreateForm<TPlainForm>();
    auto& menu = form.AddPopupMenu("pmn");
    int ok = 0;
    auto& item = menu.Add("miOk", "OK", VK_RETURN);
    item.Visible = false;
    item.OnClick = [&](TMenuItem&) { ++ok; };
    MSG enter{form.Handle(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(form.PreTranslateMessage(enter));
    MSG other{form.Handle(), WM_KEYDOWN, 'A', 0, 0, {}};
    EXPECT_FALSE(form.PreTranslateMessage(other));
    EXPECT_EQ(ok, 1);
}

TEST_F(Toolkit, TimerTicksThroughTheForm) {
    auto& form = CreateForm<TPlainForm>();
    auto& timer = form.AddTimer();
    int ticks = 0;
    timer.OnTimer = [&](TTimer& t) {
        ++ticks;
        t.SetEnabled(false);
    };
    timer.SetInterval(10);
    timer.SetEnabled(true);
    for (int i = 0; i < 100 && ticks == 0; ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        ProcessMessages();
    }
    EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace vh::win32
