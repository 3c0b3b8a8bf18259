#include "ui/win32/skin/BaseFRM.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "UiTestSupport.h"
#include "common/Exceptions.h"
#include "ui/win32/dialogs/WarningFRM.h"

namespace vh::win32 {
namespace {

using BaseForm = testing::UiTest;

IntSize WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {work.right - work.left, work.bottom - work.top};
}

// Presses the header at (50, 10) and drags by (dx, dy).
void DragHeader(TfrmBase& form, int dx, int dy) {
    testing::SendMouse(form, WM_LBUTTONDOWN, MK_LBUTTON, 50, 10);
    testing::SendMouse(form, WM_MOUSEMOVE, MK_LBUTTON, 50 + dx, 10 + dy);
    testing::SendMouse(form, WM_LBUTTONUP, 0, 50 + dx, 10 + dy);
}

TEST_F(BaseForm, HeaderDragMovesTheWindowAndClampsAtTheWorkArea) {
    auto& form = CreateForm<TfrmBase>("Drag", 200, 100);
    form.Show();
    const IntSize work = WorkArea();
    const IntRect start = form.WindowRect();

    DragHeader(form, 7, 5);
    EXPECT_EQ(form.WindowRect().left, start.left + 7);
    EXPECT_EQ(form.WindowRect().top, start.top + 5);

    DragHeader(form, -5000, 0);
    EXPECT_EQ(form.WindowRect().left, 0);
    DragHeader(form, 0, -5000);
    EXPECT_EQ(form.WindowRect().top, 0);
    DragHeader(form, 5000, 0);
    EXPECT_EQ(form.WindowRect().right, work.width);
    DragHeader(form, 0, 5000);
    EXPECT_EQ(form.WindowRect().bottom, work.height);
}

TEST_F(BaseForm, CaptionLabelDragsTooButNotWithoutTheLeftButton) {
    auto& form = CreateForm<TfrmBase>("Drag", 200, 100);
    form.Show();
    const IntRect start = form.WindowRect();
    testing::SendMouse(form, WM_LBUTTONDOWN, MK_LBUTTON, 40, 12);  // on lblCaption
    testing::SendMouse(form, WM_MOUSEMOVE, 0, 60, 22);
    EXPECT_EQ(form.WindowRect(), start);
    testing::SendMouse(form, WM_MOUSEMOVE, MK_LBUTTON, 43, 14);
    EXPECT_EQ(form.WindowRect().left, start.left + 3);
    EXPECT_EQ(form.WindowRect().top, start.top + 2);
}

TEST_F(BaseForm, MaximisedOrSlidFormIsNotDragged) {
    auto& form = CreateForm<TfrmBase>("Drag", 200, 100);
    form.Show();
    form.SlideState = 1;
    const IntRect start = form.WindowRect();
    DragHeader(form, 30, 30);
    EXPECT_EQ(form.WindowRect(), start);

    form.SlideState = 0;
    ShowWindow(form.Handle(), SW_MAXIMIZE);
    ASSERT_EQ(form.WindowState(), TWindowState::wsMaximized);
    const IntRect maximised = form.WindowRect();
    DragHeader(form, 30, 30);
    EXPECT_EQ(form.WindowRect(), maximised);
}

class TRefusingForm : public TfrmBase {
public:
    TRefusingForm() : TfrmBase("Refusing", 200, 100) {}
    int asked = 0;
    bool CanMoveTo(int, int) override {
        ++asked;
        return false;
    }
};

TEST_F(BaseForm, CanMoveToCanRefuseADrag) {
    auto& form = CreateForm<TRefusingForm>();
    form.Show();
    const IntRect start = form.WindowRect();
    DragHeader(form, 20, 20);
    EXPECT_EQ(form.asked, 1);
    EXPECT_EQ(form.WindowRect(), start);
}

TEST_F(BaseForm, TransparencyUsesALayeredWindow) {
    auto& form = CreateForm<TfrmBase>("Alpha", 200, 100);
    BYTE alpha = 0;
    DWORD flags = 0;
    // A fresh user's 10 percent.
    ASSERT_TRUE(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(GetLayeredWindowAttributes(form.Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 229);
    EXPECT_TRUE(flags & LWA_ALPHA);

    SetFormTransparency(form, 100);
    EXPECT_TRUE(form.AlphaBlend());
    EXPECT_EQ(form.AlphaBlendValue(), 0);
    SetFormTransparency(form, 0);
    EXPECT_FALSE(form.AlphaBlend());
    EXPECT_FALSE(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(BaseForm, CreationAppliesTheAppearancePreferences) {
    SetAppearanceSource([] {
        TFormAppearance appearance;
        appearance.color = RGB(1, 2, 3);
        appearance.textColor = RGB(250, 200, 0);
        appearance.transparency = 0;
        return appearance;
    });
    auto& form = CreateForm<TfrmBase>("Look", 200, 100);
    EXPECT_EQ(form.Color(), RGB(1, 2, 3));
    EXPECT_FALSE(form.AlphaBlend());
    EXPECT_EQ(form.lblCaption.Caption(), "Look");
    EXPECT_EQ(form.lblCaption.Font().color, RGB(250, 200, 0));
    EXPECT_FALSE(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_CAPTION);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(form.Handle(), region), ERROR);  // rounded corners
    DeleteObject(region);
}

TEST_F(BaseForm, WindowShowsWhatTheFormRenders) {
    SetAppearanceSource([] {
        TFormAppearance appearance;
        appearance.color = RGB(30, 90, 60);
        appearance.transparency = 0;
        return appearance;
    });
    auto& form = CreateForm<TfrmBase>("Paint", 200, 120);
    form.Show();
    UpdateWindow(form.Handle());
    TBitmap32 expected;
    form.RenderClient(expected);
    const ClientDc dc(form.Handle());
    for (const POINT p : {POINT{100, 10}, POINT{100, 80}, POINT{5, 60}}) {
        EXPECT_EQ(GetPixel(dc.Get(), p.x, p.y), ColorRefFromPixel(expected.Pixel(p.x, p.y))) << p.x << "," << p.y;
    }
}

TEST_F(BaseForm, BackgroundPictureIsTiledAtTheDisplayScale) {
    // 20 x 20: red on the left half, blue on the right.
    static const TPicture picture = testing::MakePicture(
        20, 20, [](int x, int) { return x < 10 ? 0xFFFF0000u : 0xFF0000FFu; }, true, false);
    SetAppearanceSource([] {
        TFormAppearance appearance;
        appearance.transparency = 0;
        appearance.backgroundPicture = &picture;
        return appearance;
    });
    auto& form = CreateForm<TfrmBase>("Tiles", 200, 120);
    struct Case {
        int dpi;
        int x;
        bool blue;
    };
    // At 150 % a tile is 30 pixels: x = 25 is the first tile's blue half, not
    // the second tile's red one; x = 35 is the second tile's red half.
    for (const Case c : {Case{96, 15, true}, Case{96, 25, false}, Case{144, 25, true}, Case{144, 35, false}}) {
        form.ApplyDpi(c.dpi);
        TBitmap32 shown;
        form.RenderClient(shown);
        const std::uint32_t pixel = shown.Pixel(c.x, form.Scale(100));
        const int red = static_cast<int>((pixel >> 16) & 0xFF);
        const int blue = static_cast<int>(pixel & 0xFF);
        EXPECT_EQ(blue > red, c.blue) << "dpi " << c.dpi << " x " << c.x << std::hex << " pixel " << pixel;
    }
}

TEST_F(BaseForm, ResizedFormIsRoundedAgainAndItsPanelsFollow) {
    auto& form = CreateForm<TfrmBase>("Grow", 200, 100);
    form.SetClientSize(300, 250);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(form.Handle(), region), ERROR);
    RECT box{};
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.right, 300);
    EXPECT_EQ(box.bottom, 250);
    EXPECT_EQ(form.pnlHeader.BoundsRect(), (IntRect{0, 0, 300, 32}));
    EXPECT_EQ(form.pnlBody.BoundsRect(), (IntRect{0, 32, 300, 250}));
}

TEST_F(BaseForm, TextColourSparesLabelsInTheFormsFontColour) {
    auto& form = CreateForm<TfrmBase>("Text", 200, 100);
    auto& light = form.Add<TLabel>();
    TFontStyle white;
    white.color = RGB(255, 255, 255);
    light.SetFont(white);
    auto& dark = form.Add<TLabel>();
    dark.SetFont(TFontStyle{});  // the form's dark grey
    SetFormTextColor(form, RGB(0, 200, 0));
    EXPECT_EQ(light.Font().color, RGB(0, 200, 0));
    EXPECT_EQ(dark.Font().color, RGB(54, 54, 54));
    EXPECT_EQ(form.lblCaption.Font().color, RGB(0, 200, 0));
}

TEST_F(BaseForm, ListIsPaddedWithBlankRowsToItsBottom) {
    auto& form = CreateForm<TfrmBase>("List", 200, 300);
    auto& list = form.Add<TListBox>(true);
    list.SetBounds(10, 40, 150, 202);
    list.SetItemHeight(20);
    list.AddItem("one");
    list.AddItem("two");
    list.AddItem("three");
    PadListWithBlankRows(form, list);
    ASSERT_EQ(list.Count(), 10);
    for (int i = 3; i < 10; ++i) EXPECT_EQ(list.Item(i), "");
    PadListWithBlankRows(form, list);  // padded already: nothing more
    EXPECT_EQ(list.Count(), 10);
}

TEST_F(BaseForm, ComboBoxArrowIsClippedAndEditTextInset) {
    class TWithControls : public TfrmBase {
    public:
        TWithControls() : TfrmBase("Controls", 240, 200), cbxKind(Add<TComboBox>()), edtName(Add<TMemo>()) {
            cbxKind.SetBounds(10, 50, 150, 24);
            edtName.SetBounds(10, 90, 150, 60);
        }
        TComboBox& cbxKind;
        TMemo& edtName;  // the formatting rectangle exists for multi-line edits
    };
    auto& form = CreateForm<TWithControls>();
    RECT client{};
    GetClientRect(form.cbxKind.Handle(), &client);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(form.cbxKind.Handle(), region), SIMPLEREGION);
    RECT box{};
    GetRgnBox(region, &box);
    DeleteObject(region);
    EXPECT_EQ(box.right, client.right - 26);
    EXPECT_EQ(box.bottom, client.bottom);

    RECT before{};
    SendMessageW(form.edtName.Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&before));
    RoundWindowCorners(form, form.edtName.Handle());
    RECT after{};
    SendMessageW(form.edtName.Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&after));
    // The edit may add its own margins on top; the text moves in by 5 at least.
    EXPECT_GE(after.left - before.left, 5);
    EXPECT_GE(after.top - before.top, 5);
    EXPECT_GE(before.right - after.right, 5);
    EXPECT_GE(before.bottom - after.bottom, 5);
}

struct LimitCase {
    const char* text;
    bool accepted;
    const char* message;  // nullptr: no warning
};

TEST_F(BaseForm, CheckTimeLimitEditAnswersAndWarns) {
    const LimitCase cases[] = {
        {"24:00", false, "'24:00' is not a valid time"},
        {"00:00", false, "Limit can't be empty"},
        {"23:59", true, nullptr},
    };
    for (const LimitCase& c : cases) {
        auto& form = CreateForm<TfrmBase>("Limit", 200, 120);
        auto& edit = form.Add<TMaskEdit>();
        edit.SetBounds(10, 50, 80, 24);
        edit.SetText(c.text);
        form.Show();
        std::string caption;
        std::string message;
        if (c.message) {
            testing::WhenModal([&](TForm& modal) {
                auto& warning = dynamic_cast<TfrmWarning&>(modal);
                caption = warning.lblCaption.Caption();
                message = warning.lblWarning.Caption();
                PostMessageW(warning.Handle(), WM_KEYDOWN, VK_RETURN, 0);
            });
        }
        EXPECT_EQ(CheckTimeLimitEdit(form, edit), c.accepted) << c.text;
        if (c.message) {
            EXPECT_EQ(caption, "Please Note");
            EXPECT_EQ(message, c.message);
            EXPECT_EQ(form.ActiveControl(), &edit);
        }
        form.Close();
        ProcessMessages();
    }
}

TEST_F(BaseForm, MaskedEditKeepsItsColonAndRefusesLetters) {
    auto& form = CreateForm<TfrmBase>("Mask", 200, 120);
    auto& edit = form.Add<TMaskEdit>();
    SendMessageW(edit.Handle(), EM_SETSEL, 0, 0);
    for (wchar_t ch : {L'1', L'x', L'2', L'3', L'4', L'5'}) SendMessageW(edit.Handle(), WM_CHAR, ch, 0);
    EXPECT_EQ(edit.Text(), "12:34");
}

TEST_F(BaseForm, WebPagesGoToTheProductSite) {
    std::string opened;
    SetWebAddressOpenerForTesting([&](const std::string& url) { opened = url; });
    OpenWebAddress(ProductWebPage("/help"));
    EXPECT_EQ(opened, std::string(VH_PRODUCT_WEB_SITE) + "/help");
    OpenWebAddress("example.org/page");
    EXPECT_EQ(opened, "https://example.org/page");
    EXPECT_THROW(OpenWebAddress("C:\\Windows\\notepad.exe"), Exception);
}

}  // namespace
}  // namespace vh::win32

namespace vh::win32 {
namespace {

class TPagedForm : public TfrmBase {
public:
    TPagedForm()
        : TfrmBase("Pages", 300, 260),
          edtOnForm(Add<TEdit>()),
          pcViews(Add<TPageControl>()),
          tsList(pcViews.AddPage("tsList")),
          lblTitle(Add<TLabel>()),
          edtSecond(Add<TEdit>()),
          cbxKind(Add<TComboBox>()),
          edtFirst(Add<TEdit>()) {
        edtOnForm.SetBounds(10, 220, 100, 22);
        pcViews.SetBounds(20, 40, 260, 170);
        tsList.Insert(lblTitle, 5, 5, 100, 16);
        tsList.Insert(edtSecond, 5, 30, 100, 22);
        tsList.Insert(cbxKind, 5, 60, 150, 24);
        tsList.Insert(edtFirst, 5, 90, 100, 22);
        edtFirst.SetTabOrder(0);  // page order: edtFirst, edtSecond, cbxKind
    }
    TEdit& edtOnForm;
    TPageControl& pcViews;
    TTabSheet& tsList;
    TLabel& lblTitle;
    TEdit& edtSecond;
    TComboBox& cbxKind;
    TEdit& edtFirst;
};

using PageControls = testing::UiTest;

TEST_F(PageControls, ShowLiftsThePageOntoTheFormKeepingItsTabOrder) {
    auto& form = CreateForm<TPagedForm>();
    form.Show();
    EXPECT_FALSE(form.edtSecond.Visible());
    ASSERT_EQ(form.TabList().Items(), (std::vector<TWinControl*>{&form.edtOnForm}));

    ShowPageControls(form, form.tsList);
    EXPECT_TRUE(form.tsList.Controls().empty());
    EXPECT_EQ(form.lblTitle.BoundsRect(), (IntRect{25, 45, 125, 61}));
    EXPECT_EQ(form.lblTitle.PageTag, &form.tsList);
    EXPECT_EQ(form.lblTitle.Page, nullptr);
    EXPECT_EQ(form.edtSecond.BoundsRect().left, 25);
    EXPECT_EQ(form.edtSecond.BoundsRect().top, 70);
    EXPECT_TRUE(form.edtSecond.Visible());
    EXPECT_EQ(form.TabList().Items(),
              (std::vector<TWinControl*>{&form.edtFirst, &form.edtSecond, &form.cbxKind, &form.edtOnForm}));
    EXPECT_EQ(form.ActiveControl(), &form.edtFirst);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(form.cbxKind.Handle(), region), SIMPLEREGION);  // arrow clipped
    DeleteObject(region);
}

TEST_F(PageControls, ReturnPutsThemBackOnThePage) {
    auto& form = CreateForm<TPagedForm>();
    form.Show();
    ShowPageControls(form, form.tsList);
    ReturnPageControls(form);
    EXPECT_EQ(form.lblTitle.BoundsRect(), (IntRect{5, 5, 105, 21}));
    EXPECT_EQ(form.lblTitle.Page, &form.tsList);
    EXPECT_EQ(form.lblTitle.PageTag, nullptr);
    EXPECT_FALSE(form.edtFirst.Visible());
    EXPECT_EQ(form.edtFirst.BoundsRect().top, 90);
    EXPECT_EQ(form.TabList().Items(), (std::vector<TWinControl*>{&form.edtOnForm}));
    EXPECT_EQ(form.tsList.TabList().Items(),
              (std::vector<TWinControl*>{&form.edtFirst, &form.edtSecond, &form.cbxKind}));
    EXPECT_EQ(form.tsList.Controls().size(), 4u);
    // And out again: the same place.
    ShowPageControls(form, form.tsList);
    EXPECT_EQ(form.lblTitle.BoundsRect(), (IntRect{25, 45, 125, 61}));
}

TEST_F(PageControls, ControlsOnAPageAreNotDrawn) {
    auto& form = CreateForm<TPagedForm>();
    TBitmap32 without;
    form.lblTitle.SetCaption("");
    form.RenderClient(without);
    form.lblTitle.SetCaption("Title");
    TBitmap32 onPage;
    form.RenderClient(onPage);
    EXPECT_TRUE(std::equal(without.Pixels().begin(), without.Pixels().end(), onPage.Pixels().begin()));
    ShowPageControls(form, form.tsList);
    TBitmap32 lifted;
    form.RenderClient(lifted);
    EXPECT_FALSE(std::equal(without.Pixels().begin(), without.Pixels().end(), lifted.Pixels().begin()));
}

}  // namespace
}  // namespace vh::win32
