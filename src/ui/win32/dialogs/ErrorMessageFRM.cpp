#include "ui/win32/dialogs/ErrorMessageFRM.h"

#include <cstring>
#include <string_view>

#include "common/Exceptions.h"
#include "platform/win32/Utf16.h"
#include "ui/win32/dialogs/WarningFRM.h"
#include "ui/win32/toolkit/ExceptionBoundary.h"

namespace vh::win32 {
namespace {

constexpr int kClientWidth = 445;
constexpr int kButtonTop = 101;
// Both buttons must lie wholly inside the window.
constexpr int kClientHeight = kButtonTop + 32 + 10;

constexpr char kContactUs[] = "contact us";
// The link's words are part of the paragraph (drawn by the link label over
// the place the paragraph leaves for them), so they wrap with it.
constexpr char kDescription[] =
    "Sorry: The application has a hiccup. Please continue. If you see this message again then contact us "
    "with a copy of the error message. Apologies for any inconvenience.";
constexpr int kButtonGap = 7;
constexpr int kCaptionMargin = 10;
constexpr int kSideMargin = 8;

class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) {
        // Another program may hold the clipboard for a moment.
        for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(20);
        }
        if (!open_) throw Exception("The clipboard could not be opened");
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }

private:
    bool open_ = false;
};

}  // namespace

void CopyTextToClipboard(HWND owner, const std::string& text) {
    const std::wstring wide = Utf8ToWide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) throw Exception("Out of memory for the clipboard");
    void* target = GlobalLock(memory.Get());
    if (!target) throw Exception("Out of memory for the clipboard");
    std::memcpy(target, wide.c_str(), bytes);
    GlobalUnlock(memory.Get());

    const ClipboardSession session(owner);
    if (!EmptyClipboard()) throw Exception("The clipboard could not be emptied");
    if (!SetClipboardData(CF_UNICODETEXT, memory.Get())) throw Exception("The clipboard could not take the text");
    static_cast<void>(memory.Release());  // the clipboard owns it now
}

TfrmErrorMessage::TfrmErrorMessage()
    : TfrmBase("Application Error", kClientWidth, kClientHeight),
      lblDescription(Add<TLabel>()),
      lblContactUs(Add<TLabel>()),
      btnCopyErrorToClipboard(Add<TImageButton>()),
      btnOk(Add<TImageButton>()),
      pmnButtons(AddPopupMenu("pmnButtons")),
      miOk(pmnButtons.Add("miOk", "OK", VK_RETURN)),
      miCancel(pmnButtons.Add("miCancel", "Cancel", VK_ESCAPE)) {
    TFontStyle white;
    white.color = RGB(255, 255, 255);

    lblDescription.Name = "lblDescription";
    lblDescription.SetBounds(8, 45, 432, 51);
    lblDescription.WordWrap = true;
    lblDescription.SetFont(white);
    lblDescription.SetCaption(kDescription);
    const std::size_t linkAt = std::string_view(kDescription).find(kContactUs);
    lblDescription.ReservedRange = {linkAt, linkAt + std::strlen(kContactUs)};

    lblContactUs.Name = "lblContactUs";
    lblContactUs.SetBounds(141, 61, 80, 16);
    TFontStyle link = white;
    link.underline = true;
    lblContactUs.SetFont(link);
    lblContactUs.HandCursor = true;
    lblContactUs.SetCaption(kContactUs);
    lblContactUs.OnClick = [this](TControl&) { lblContactUsClick(); };

    SkinDialogButton(btnCopyErrorToClipboard, "btnCopyErrorToClipboard", "Copy Error to Clipboard", 102, kButtonTop,
                     165);
    btnCopyErrorToClipboard.OnClick = [this](TControl&) { btnCopyErrorToClipboardClick(); };
    SkinDialogButton(btnOk, "btnOk", "OK", 274, kButtonTop, 85);
    btnOk.OnClick = [this](TControl&) { btnOkClick(); };
    BindHiddenShortcuts({&miOk, &miCancel}, [this] { btnOkClick(); });
    FitTexts();
}

void TfrmErrorMessage::FitTexts() {
    const IntRect link = lblDescription.ReservedRect();
    if (!link.IsEmpty()) lblContactUs.SetBounds(link.left, link.top, link.Width(), link.Height());
    btnCopyErrorToClipboard.WidenToCaption(kCaptionMargin);
    btnOk.WidenToCaption(kCaptionMargin);
    // The pair stays centred; a window too narrow for it grows.
    const int pair = btnCopyErrorToClipboard.Width() + kButtonGap + btnOk.Width();
    const IntSize client = ClientSize();
    if (pair + 2 * kSideMargin > client.width) SetClientSize(pair + 2 * kSideMargin, client.height);
    const int left = (ClientSize().width - pair) / 2;
    OffsetControl(btnCopyErrorToClipboard, left - btnCopyErrorToClipboard.Left(), 0);
    OffsetControl(btnOk, left + btnCopyErrorToClipboard.Width() + kButtonGap - btnOk.Left(), 0);
}

void TfrmErrorMessage::FormDpiChanged() {
    TfrmBase::FormDpiChanged();
    FitTexts();
}

void TfrmErrorMessage::ShowError(const std::string& text) {
    ErrorText = text;
    lblCaption.SetCaption("Application Error");
    ShowModal();
}

void TfrmErrorMessage::btnOkClick() {
    SetModalResult(mrOk);
}

void TfrmErrorMessage::btnCopyErrorToClipboardClick() {
    CopyTextToClipboard(Handle(), ErrorText);
}

void TfrmErrorMessage::lblContactUsClick() {
    OpenWebAddress(ProductWebPage("/contact"));
}

void TApplicationErrorMessage::OnException(const std::exception& e) {
    CreateForm<TfrmErrorMessage>().ShowError(e.what());
}

TApplicationErrorMessage& ApplicationErrorMessage() {
    static TApplicationErrorMessage handler;
    return handler;
}

void InstallApplicationErrorHandler() {
    SetApplicationExceptionHandler([](const std::exception& e) { ApplicationErrorMessage().OnException(e); });
}

}  // namespace vh::win32
