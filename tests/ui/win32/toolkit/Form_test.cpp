#include "ui/win32/toolkit/Form.h"

#include <gtest/gtest.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "AccessibleTree.h"
#include "UiTestSupport.h"
#include "ui/win32/toolkit/ExceptionBoundary.h"
#include "ui/win32/toolkit/ImageControls.h"
#include "ui/win32/toolkit/ListControls.h"
#include "ui/win32/toolkit/NativeControls.h"

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

void PressKey(TForm& form, WPARAM key) {
    const HWND target = GetFocus() != nullptr ? GetFocus() : form.Handle();
    MSG message{target, WM_KEYDOWN, key, 0, 0, {}};
    if (!form.PreTranslateMessage(message)) DispatchMessageW(&message);
    ProcessMessages();
}

// Pixels of the ring's band just outside `rect` (device pixels) that differ
// between two renderings of the form.
int RingPixelsChanged(const TBitmap32& a, const TBitmap32& b, IntRect rect, int band) {
    int changed = 0;
    for (int y = rect.top - band; y < rect.bottom + band; ++y)
        for (int x = rect.left - band; x < rect.right + band; ++x)
            if (!rect.Contains(x, y) && a.Pixel(x, y) != b.Pixel(x, y)) ++changed;
    return changed;
}

// An edit, a button beside it given after a button below it, and a hidden
// button: Tab goes edit, beside, below and round again; Space presses the
// focused button; the accessible tree follows the focus; the ring is drawn
// around the focused button only, at 96 and at 144 DPI.
TEST_F(Toolkit, TabVisitsNativeAndWindowlessControlsInReadingOrderAndSpacePressesTheFocusedOne) {
    auto& form = CreateForm<TPlainForm>();
    form.SetClientSize(220, 120);
    auto& below = form.Add<TImageButton>();
    below.SetBounds(10, 60, 60, 24);
    below.SetCaption("Below");
    auto& hidden = form.Add<TImageButton>();
    hidden.SetBounds(100, 60, 60, 24);
    hidden.SetVisible(false);
    auto& edit = form.Add<TEdit>();
    edit.SetBounds(10, 12, 100, 22);
    auto& beside = form.Add<TImageButton>();
    beside.SetBounds(120, 10, 60, 24);
    beside.SetCaption("Beside");
    int pressed = 0;
    below.OnClick = [&](TControl&) { ++pressed; };
    form.Show();
    SetForegroundWindow(form.Handle());
    ProcessMessages();

    Microsoft::WRL::ComPtr<IAccessible> tree;
    ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(form.Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                                        __uuidof(IAccessible),
                                                        reinterpret_cast<void**>(tree.GetAddressOf())));
    auto focusedId = [&] {
        VARIANT focus;
        VariantInit(&focus);
        return tree->get_accFocus(&focus) == S_OK && focus.vt == VT_I4 ? focus.lVal : -1L;
    };

    // The edit follows the window-less controls in the tree, as the system's
    // object for its window.
    long count = 0;
    ASSERT_HRESULT_SUCCEEDED(tree->get_accChildCount(&count));
    EXPECT_EQ(count, form.AccessibleChildCount() + 1);
    VARIANT last{};
    last.vt = VT_I4;
    last.lVal = count;
    Microsoft::WRL::ComPtr<IDispatch> native;
    ASSERT_EQ(tree->get_accChild(last, native.GetAddressOf()), S_OK);
    Microsoft::WRL::ComPtr<IAccessible> nativeTree;
    ASSERT_HRESULT_SUCCEEDED(native.As(&nativeTree));
    HWND nativeWindow = nullptr;
    EXPECT_HRESULT_SUCCEEDED(WindowFromAccessibleObject(nativeTree.Get(), &nativeWindow));
    EXPECT_EQ(nativeWindow, edit.Handle());

    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        form.ApplyDpi(dpi);
        ProcessMessages();
        edit.SetFocus();
        TBitmap32 unfocused;
        form.RenderClient(unfocused);

        PressKey(form, VK_TAB);
        EXPECT_EQ(form.FocusedControl(), &beside);
        EXPECT_EQ(focusedId(), form.AccessibleChildId(beside));
        VARIANT child{};
        child.vt = VT_I4;
        child.lVal = form.AccessibleChildId(beside);
        VARIANT state;
        VariantInit(&state);
        ASSERT_HRESULT_SUCCEEDED(tree->get_accState(child, &state));
        EXPECT_TRUE(state.lVal & STATE_SYSTEM_FOCUSED);
        EXPECT_TRUE(state.lVal & STATE_SYSTEM_FOCUSABLE);
        TBitmap32 focused;
        form.RenderClient(focused);
        const int band = form.Scale(4);
        EXPECT_GT(RingPixelsChanged(unfocused, focused, beside.DeviceRect(), band), 2 * beside.DeviceRect().Width())
            << "no ring around the focused button";
        EXPECT_EQ(RingPixelsChanged(unfocused, focused, below.DeviceRect(), band), 0) << "a ring around another";

        PressKey(form, VK_TAB);
        EXPECT_EQ(form.FocusedControl(), &below);
        PressKey(form, VK_SPACE);
        EXPECT_EQ(pressed, dpi == 96 ? 1 : 2);
        PressKey(form, VK_TAB);  // the hidden button is passed over
        EXPECT_EQ(GetFocus(), edit.Handle());
        EXPECT_EQ(form.FocusedControl(), nullptr);
    }
}

TEST_F(Toolkit, ListRowsReadByAnotherProcessSayWhatTheyShowWithTheirTickAndSelection) {
    auto& form = CreateForm<TPlainForm>();
    form.SetClientSize(220, 120);
    auto& list = form.Add<TItemListBox>();
    list.SetItemHeight(18);
    list.SetBounds(10, 10, 200, 64);  // three rows and a part of the fourth
    struct Row {
        std::string text, spoken;
        bool ticked;
    };
    const std::vector<Row> rows{{"YouTube", "YouTube, Web, 01:20", true},
                                {"Notepad", "Notepad, App, 00:05", false},
                                {"", "", false},  // a blank filler row
                                {"Mail", "Mail, Web, 00:00", true},
                                {"Chess", "Chess, App, 00:10", false}};
    for (const Row& row : rows) list.AddObject(row.text, nullptr);
    list.AccessibleRowName = [&](int row) { return rows.at(static_cast<std::size_t>(row)).spoken; };
    list.RowChecked = [&](int row) { return rows.at(static_cast<std::size_t>(row)).ticked; };
    form.Show();
    SetForegroundWindow(form.Handle());
    list.SetFocus();
    list.SetItemIndex(1);
    ProcessMessages();

    const testing::TReaderRun run = testing::RunAccessibleReader(
        VH_ACCESSIBLE_READER, std::to_wstring(reinterpret_cast<INT_PTR>(list.Handle())) + L" 1 0");
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const auto reads = testing::ParseReads(run.output);
    ASSERT_EQ(reads.size(), 1u) << run.output;
    const std::vector<testing::TreeEntry>& read = reads[0];
    ASSERT_EQ(read.size(), rows.size()) << run.output;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i].role, ROLE_SYSTEM_LISTITEM);
        EXPECT_EQ(read[i].name, rows[i].spoken);
        EXPECT_EQ((read[i].state & STATE_SYSTEM_CHECKED) != 0, rows[i].ticked);
        EXPECT_EQ((read[i].state & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED)) != 0, i == 1);
        EXPECT_EQ((read[i].state & STATE_SYSTEM_INVISIBLE) != 0, rows[i].spoken.empty());
        EXPECT_EQ((read[i].state & STATE_SYSTEM_OFFSCREEN) != 0, i == 4) << "only the fifth row is out of view";
    }
    EXPECT_EQ(read[1].state & (STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED),
              STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
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
