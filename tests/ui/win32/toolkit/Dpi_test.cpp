// The toolkit's display scale and accessibility on the reminder: WM_DPICHANGED
// (posted, as Wine never sends it) and the accessible tree read by another
// process.
#include <oleacc.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AccessibleTree.h"
#include "ReminderFixture.h"
#include "platform/win32/Utf16.h"
#include "ui/ReminderRules.h"
#include "ui/win32/dialogs/ErrorMessageFRM.h"
#include "ui/win32/dialogs/TransparencySettingsFRM.h"
#include "ui/win32/dialogs/WarningFRM.h"

namespace vh::win32 {
namespace {

using testing::ChildRect;
using testing::Find;
using testing::ReminderWindow;
using testing::TreeEntry;

int FontHeight(HFONT font) {
    LOGFONTW log{};
    GetObjectW(font, sizeof(log), &log);
    return log.lfHeight;
}

TEST_F(ReminderWindow, DpiChangedLaysTheWindowOutAgainAtTheSuggestedRectangle) {
    auto& form = Create(eaReminderOnly);  // as the 144-DPI screenshot shows it: the action list offered
    testing::WhenModal([&](TForm&) {
        ASSERT_EQ(form.Dpi(), 96) << "the ordinary Wine session runs at 96 DPI";
        testing::SaveScreen(form, "TfrmReminder-96dpi");
        const IntRect okAt96 = form.btnOk.DeviceRect();
        const IntRect memoAt96 = ChildRect(form.memReminderMorning.Handle());
        EXPECT_EQ(okAt96, form.btnOk.BoundsRect());

        RECT suggested{40, 30, 40 + 738, 30 + 800};
        PostMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        ProcessMessages();
        EXPECT_EQ(form.Dpi(), 144);
        EXPECT_EQ(form.DeviceClientSize(), (IntSize{738, 800}));
        EXPECT_EQ(form.ClientSize(), (IntSize{492, 533})) << "the definition stays in 96-DPI pixels";
        EXPECT_EQ(form.WindowRect().left, 40);
        EXPECT_EQ(form.WindowRect().top, 30);
        // Window-less and native controls alike sit at 1.5 times their places.
        EXPECT_EQ(form.btnOk.BoundsRect(), okAt96);
        EXPECT_EQ(form.btnOk.DeviceRect(), (IntRect{596, 737, 723, 785}));
        EXPECT_EQ(ChildRect(form.memReminderMorning.Handle()), ScaleRectToDpi(memoAt96, 144));
        EXPECT_EQ(form.memReminderMorning.BoundsRect(), memoAt96);
        EXPECT_EQ(FontHeight(form.NativeFont()), -20);  // -13 at 150 %
        EXPECT_EQ(FontHeight(reinterpret_cast<HFONT>(SendMessageW(form.memReminderMorning.Handle(), WM_GETFONT, 0, 0))),
                  -20);

        RECT back{40, 30, 40 + 492, 30 + 533};
        PostMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
        ProcessMessages();
        EXPECT_EQ(form.DeviceClientSize(), (IntSize{492, 533}));
        EXPECT_EQ(ChildRect(form.memReminderMorning.Handle()), memoAt96);
        EXPECT_EQ(FontHeight(form.NativeFont()), -13);

        // Once more at 144: the mouse finds the button where it is drawn now.
        PostMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        ProcessMessages();
        testing::ClickAt(form, {form.btnOk.DeviceRect().right - 8, form.btnOk.DeviceRect().bottom - 8, 0, 0});
    });
    form.Execute(false, "", false);
    EXPECT_EQ(form.ModalResult(), mrOk);
    ASSERT_TRUE(end_);
    EXPECT_FALSE(end_->fiveMinutes);
}

// Every caption of the form measured in its font at the form's DPI against
// its control: labels hold their text (wrapped ones in their height too),
// buttons hold theirs clear of the skin's edges, lists their longest entry
// beside the drop button; a link lies where its words fall in its paragraph.
void ExpectCaptionsFit(TForm& form, const std::string& window) {
    const std::string where = window + " at " + std::to_string(form.Dpi()) + " DPI: ";
    for (const auto& owned : form.Controls()) {
        const TControl& control = *owned;
        const IntRect at = control.DeviceRect();
        if (const auto* label = dynamic_cast<const TLabel*>(&control); label && !label->Caption().empty()) {
            const IntSize text = label->MeasureCaption();
            EXPECT_LE(text.width, at.Width()) << where << label->Name << " \"" << label->Caption() << "\"";
            EXPECT_LE(text.height, at.Height()) << where << label->Name;
            if (!label->ReservedRange.Empty()) {
                const IntRect link = label->ReservedRect();
                EXPECT_FALSE(link.IsEmpty()) << where << label->Name << " has no place for its link";
            }
        }
        if (const auto* button = dynamic_cast<const TImageButton*>(&control); button && !button->Caption().empty()) {
            EXPECT_LE(button->MeasureCaption().width + 2 * form.Scale(8), at.Width())
                << where << button->Name << " \"" << button->Caption() << "\"";
        }
    }
    for (const auto& owned : form.WinControls()) {
        if (const auto* combo = dynamic_cast<const TComboBox*>(owned.get())) {
            EXPECT_LE(combo->WidestItem() + 8, combo->BoundsRect().Width() - 26) << where << combo->Name;
        }
    }
}

// As Windows does when a window moves to a monitor of another scale: the
// suggested rectangle is the window's at the new DPI.
void PostDpiChanged(TForm& form, int dpi) {
    const IntRect window = form.WindowRect();
    const IntSize client = ScaleSizeToDpi(form.ClientSize(), dpi);
    RECT rect{window.left, window.top, window.left + client.width, window.top + client.height};
    PostMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&rect));
    ProcessMessages();
}

TEST_F(ReminderWindow, EveryCaptionFitsItsControlAt96And144Dpi) {
    TfrmWarning& warning = CreateForm<TfrmWarning>();
    warning.lblCaption.SetCaption(kPleaseNote);
    warning.lblWarning.SetCaption("Limit can't be greater than 23:59");
    TfrmErrorMessage& error = CreateForm<TfrmErrorMessage>();
    error.ErrorText = "Access is denied.";
    TfrmReminder& choice = Create(eaReminderOnly);
    TfrmReminder& countdown = Create(eaShutdownComputer);
    int transparency = 10;
    TfrmTransparencySettings& transparencyDialog = CreateForm<TfrmTransparencySettings>(
        TTransparencyPreference{[&] { return transparency; }, [&](int percent) { transparency = percent; }});
    const std::vector<std::pair<TForm*, std::string>> windows = {{&warning, "TfrmWarning"},
                                                                 {&error, "TfrmErrorMessage"},
                                                                 {&choice, "TfrmReminder"},
                                                                 {&countdown, "TfrmReminder"},
                                                                 {&transparencyDialog, "TfrmTransparencySettings"}};
    for (const int dpi : {96, 144}) {
        for (const auto& [form, name] : windows) {
            PostDpiChanged(*form, dpi);
            ASSERT_EQ(form->Dpi(), dpi);
            ExpectCaptionsFit(*form, name);
        }
        // The link sits on the paragraph's words "contact us".
        const IntRect link = error.lblDescription.ReservedRect();
        EXPECT_EQ(error.lblContactUs.BoundsRect(), link);
        EXPECT_GT(link.top, error.lblDescription.Top()) << "the link is on the paragraph's second line";
        // The widened action list and the buttons beside it do not overlap.
        EXPECT_LE(choice.pnlExpirationCombo.BoundsRect().right, choice.btnFiveMinutes.Left());
        EXPECT_LE(choice.btnFiveMinutes.BoundsRect().right, choice.btnOk.Left());
        EXPECT_LE(choice.btnOk.BoundsRect().right, choice.ClientSize().width);
        // The two buttons lie side by side inside the window.
        EXPECT_LE(error.btnCopyErrorToClipboard.BoundsRect().right, error.btnOk.Left());
        EXPECT_GE(error.btnCopyErrorToClipboard.Left(), 0);
        EXPECT_LE(error.btnOk.BoundsRect().right, error.ClientSize().width);
    }
    transparencyDialog.cbxTransparency.SetItemIndex(1);  // a value shown, as Execute shows the stored one
    transparencyDialog.Show();
    ProcessMessages();
    testing::SaveScreen(transparencyDialog, "TfrmTransparencySettings-144dpi");
    transparencyDialog.Hide();
    error.Show();
    ProcessMessages();
    testing::SaveScreen(error, "TfrmErrorMessage-144dpi");
    error.Hide();
    PostDpiChanged(error, 96);
    error.Show();
    ProcessMessages();
    testing::SaveScreen(error, "TfrmErrorMessage-after");
    error.Hide();
}

TEST_F(ReminderWindow, AnotherProcessReadsTheAccessibleTreeAndPressesOk) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    auto& form = Create(eaCloseBrowserApp);  // "Close Browser/App.": the countdown runs
    testing::TReaderRun run;
    testing::WhenModal([&](TForm& modal) {
        // Two reads 1.5 s apart, then "OK" pressed through its default action.
        run = testing::RunAccessibleReader(VH_ACCESSIBLE_READER,
                                           std::to_wstring(reinterpret_cast<INT_PTR>(modal.Handle())) + L" 2 1500 OK");
    });
    form.Execute(false, "", false);
    CoUninitialize();

    ASSERT_EQ(run.exitCode, 0u) << run.output;
    const auto reads = testing::ParseReads(run.output);
    ASSERT_EQ(reads.size(), 2u) << run.output;
    for (const auto& read : reads) {
        const TreeEntry* message = Find(read, ReminderMessageText(false, eaCloseBrowserApp));
        ASSERT_NE(message, nullptr) << run.output;
        EXPECT_EQ(message->role, ROLE_SYSTEM_STATICTEXT);
        const TreeEntry* ok = Find(read, "OK");
        ASSERT_NE(ok, nullptr) << run.output;
        EXPECT_EQ(ok->role, ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(ok->action, "Press");
        EXPECT_EQ(ok->state & STATE_SYSTEM_INVISIBLE, 0);
        // The action list is hidden while the countdown runs; its label says so.
        const TreeEntry* action = Find(read, "Action:");
        ASSERT_NE(action, nullptr);
        EXPECT_NE(action->state & STATE_SYSTEM_INVISIBLE, 0);
        ASSERT_NE(Find(read, "Time Left:", true), nullptr) << run.output;
    }
    const std::string first = Find(reads[0], "Time Left:", true)->value;
    const std::string second = Find(reads[1], "Time Left:", true)->value;
    EXPECT_TRUE(first == "01:00" || first == "00:59") << first;
    EXPECT_NE(first, second) << "the countdown value changes as it runs";
    EXPECT_NE(run.output.find("pressed\tOK"), std::string::npos) << run.output;
    ASSERT_TRUE(end_);
    EXPECT_FALSE(end_->fiveMinutes);
}

}  // namespace
}  // namespace vh::win32
