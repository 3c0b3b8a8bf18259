#pragma once
// The base form of every window: no frame, rounded corners, a dark header
// that drags the window, a skinned body, and the user's background colour,
// tiled background picture, text colour and transparency. It frees itself
// when closed. The small routines every dialog shares come with it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/FormRules.h"
#include "ui/win32/skin/DialogRoutines.h"
#include "ui/win32/skin/PageLifting.h"
#include "ui/win32/skin/WindowRegions.h"
#include "ui/win32/toolkit/Form.h"
#include "ui/win32/toolkit/ImageControls.h"
#include "ui/win32/toolkit/NativeControls.h"
#include "ui/win32/toolkit/PageControls.h"

namespace vh::win32 {

// The appearance preferences the forms use. Start-up connects the stored
// preferences; until then (and in tests) the defaults of a fresh user apply.
struct TFormAppearance {
    COLORREF color = 0;
    COLORREF textColor = RGB(255, 255, 255);
    int transparency = 10;                        // percent
    const TPicture* backgroundPicture = nullptr;  // lives to the end of the program
};
using AppearanceSource = std::function<TFormAppearance()>;
void SetAppearanceSource(AppearanceSource source);
TFormAppearance CurrentAppearance();

class TfrmBase : public TForm {
public:
    TfrmBase(const std::string& caption, int clientWidth, int clientHeight);

    TImagePanel& pnlHeader;
    TImage& imgIcon;
    TLabel& lblCaption;
    TImagePanel& pnlBody;

    std::uint8_t SlideState = 0;  // the main window's docking; 0 = normal
    IntPoint DragOrigin;          // form client device pixels of the last header press

    // Asked before a header drag moves the window.
    virtual bool CanMoveTo(int newLeft, int newTop);

    void CommonHeaderMouseDown(TControl& sender, TMouseButton button, TShiftState shift, int x, int y);
    void CommonHeaderMouseMove(TControl& sender, TShiftState shift, int x, int y);

    void AfterConstruction() override;

protected:
    void FormPaint(TBitmap32& buffer) override;
    void ReleaseDrawingCaches() noexcept override;
    void FormShow() override;
    void FormClose(TCloseAction& action) override;
    void FormDpiChanged() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AlignPanels();
    const TPicture* backgroundPicture_ = nullptr;
};

}  // namespace vh::win32
