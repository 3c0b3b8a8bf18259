#include "platform/win32/WindowSystem.h"

#include <oleacc.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "doubles/FakeAccessibleObject.h"
#include "doubles/win32/FakeAccessibleServer.h"
#include "platform/win32/Utf16.h"

namespace vh::win32 {
namespace {

using Microsoft::WRL::ComPtr;
using testing::win32::FakeAccessibleNode;

// "Fenêtre Привет 編集 😀": accented, Cyrillic, CJK and a surrogate pair.
const std::string kWideTitle =
    "Fen\xC3\xAAtre \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE7\xB7\xA8\xE9\x9B\x86 \xF0\x9F\x98\x80";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
        case WM_GETOBJECT: {
            auto* root = reinterpret_cast<FakeAccessibleNode*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (LRESULT answer = testing::win32::AnswerGetObject(root, wParam, lParam)) return answer;
            break;
        }
        case WM_CLOSE:
            // Counted, not obeyed: the test destroys its own windows.
            SetPropW(window, L"closes",
                     reinterpret_cast<HANDLE>(reinterpret_cast<INT_PTR>(GetPropW(window, L"closes")) + 1));
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterTestClass(const std::wstring& name) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &TestWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name.c_str();
    RegisterClassW(&windowClass);  // a second registration fails harmlessly
}

// A window owned by the test, destroyed with it.
class TestWindow {
public:
    TestWindow(const std::wstring& className, const std::string& text, HWND parent = nullptr) {
        if (className != L"Edit") RegisterTestClass(className);
        const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
        window_ = CreateWindowExW(0, className.c_str(), Utf8ToWide(text).c_str(), style, 0, 0, 200, 100, parent,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TestWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Get() const { return window_; }
    TWindowId Id() const { return reinterpret_cast<TWindowId>(window_); }
    void Serve(FakeAccessibleNode* root) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(root));
    }

private:
    HWND window_ = nullptr;
};

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

class WindowSystemTest : public ::testing::Test {
protected:
    WindowSystem windows_;
};

TEST_F(WindowSystemTest, EnumeratesChildrenDepthFirstWithTheirClassesAndTexts) {
    TestWindow frame(L"VhProbeFrame", kWideTitle);
    ASSERT_NE(frame.Get(), nullptr);
    TestWindow before(L"Edit", "before", frame.Get());
    TestWindow band(L"Address Band Root", "", frame.Get());
    TestWindow address(L"Edit", "https://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84/",
                       band.Get());
    TestWindow unicodeClass(L"Vh\u00DCbersicht\u7DE8", "", frame.Get());

    std::vector<TWindowId> seen;
    windows_.EnumerateChildWindows(frame.Id(), [&](TWindowId child) {
        seen.push_back(child);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<TWindowId>{before.Id(), band.Id(), address.Id(), unicodeClass.Id()}));
    EXPECT_EQ(windows_.ClassName(band.Id()), "Address Band Root");
    EXPECT_EQ(windows_.ClassName(before.Id()), "Edit");
    EXPECT_EQ(windows_.ClassName(unicodeClass.Id()),
              "Vh\xC3\x9C"
              "bersicht\xE7\xB7\xA8");
    EXPECT_EQ(windows_.WindowText(frame.Id()), kWideTitle);
    EXPECT_EQ(windows_.WindowText(address.Id()),
              "https://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.\xD1\x80\xD1\x84/");
    EXPECT_EQ(windows_.WindowProcessId(address.Id()), GetCurrentProcessId());

    seen.clear();
    windows_.EnumerateChildWindows(frame.Id(), [&](TWindowId child) {
        seen.push_back(child);
        return child != band.Id();
    });
    EXPECT_EQ(seen, (std::vector<TWindowId>{before.Id(), band.Id()}));

    seen.clear();
    windows_.EnumerateChildWindows(0, [&](TWindowId child) {
        seen.push_back(child);
        return true;
    });
    EXPECT_TRUE(seen.empty()) << "a null parent must not walk the top-level windows";
}

TEST_F(WindowSystemTest, AnExceptionInAStepReachesTheCallerAfterTheEnumeration) {
    TestWindow frame(L"VhProbeFrame", "frame");
    TestWindow first(L"Edit", "a", frame.Get());
    TestWindow second(L"Edit", "b", frame.Get());
    int calls = 0;
    EXPECT_THROW(windows_.EnumerateChildWindows(frame.Id(),
                                                [&](TWindowId) -> bool {
                                                    ++calls;
                                                    throw std::runtime_error("step");
                                                }),
                 std::runtime_error);
    EXPECT_EQ(calls, 1);

    bool foundOurs = false;
    EXPECT_THROW(windows_.EnumerateTopLevelWindows([&](TWindowId window) -> bool {
        if (window == frame.Id()) {
            foundOurs = true;
            throw std::runtime_error("top");
        }
        return true;
    }),
                 std::runtime_error);
    EXPECT_TRUE(foundOurs);
}

TEST_F(WindowSystemTest, OwnProcessImageMapsBackToTheModulePath) {
    // No window of its own: the window-to-process step is checked above, and
    // a window Wine failed to create would only read as process 0 here.
    const TProcessImage image = windows_.ProcessImage(GetCurrentProcessId());
    ASSERT_TRUE(image.Ok) << image.ErrorMessage;
    EXPECT_EQ(image.DevicePath.rfind("\\Device\\", 0), 0u) << image.DevicePath;

    std::wstring module(32768, L'\0');
    module.resize(GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size())));
    // The drive path, as the probe builds it from the device names.
    std::string drivePath;
    for (char letter = 'C'; letter <= 'Z' && drivePath.empty(); ++letter) {
        const std::optional<std::string> device = windows_.DriveDeviceName(letter);
        if (device && image.DevicePath.rfind(*device + "\\", 0) == 0)
            drivePath = std::string(1, letter) + ":" + image.DevicePath.substr(device->size());
    }
    EXPECT_EQ(Lower(Utf8ToWide(drivePath)), Lower(module)) << image.DevicePath;
}

TEST_F(WindowSystemTest, AProcessThatCannotBeOpenedGivesTheSystemsMessage) {
    const TProcessImage image = windows_.ProcessImage(0);
    EXPECT_FALSE(image.Ok);
    EXPECT_FALSE(image.ErrorMessage.empty());
    EXPECT_NE(image.ErrorMessage.back(), '\n');
}

TEST_F(WindowSystemTest, DriveDeviceNames) {
    const std::optional<std::string> c = windows_.DriveDeviceName('C');
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->rfind("\\", 0), 0u) << *c;
    EXPECT_FALSE(windows_.DriveDeviceName('Q').has_value()) << "no drive Q: in the test prefix";
}

TEST_F(WindowSystemTest, PostCloseQueuesWmCloseWithoutWaiting) {
    TestWindow frame(L"VhProbeFrame", "frame");
    windows_.PostClose(frame.Id());
    EXPECT_EQ(GetPropW(frame.Get(), L"closes"), nullptr) << "posted, not sent";
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropW(frame.Get(), L"closes")), 1);
    RemovePropW(frame.Get(), L"closes");
}

TEST_F(WindowSystemTest, AWindowThatDoesNotAnswerGivesNoTextInsteadOfBlocking) {
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND slow = nullptr;
    DWORD ownerThread = 0;
    std::thread owner([&] {
        ownerThread = GetCurrentThreadId();
        slow = CreateWindowExW(0, L"Static", L"slow window", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        SetEvent(created);
        WaitForSingleObject(release, 10000);  // hangs: no messages are processed
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        DestroyWindow(slow);
    });
    WaitForSingleObject(created, 10000);
    ASSERT_NE(slow, nullptr);
    EXPECT_EQ(windows_.WindowText(reinterpret_cast<TWindowId>(slow)), "");
    SetEvent(release);
    EXPECT_EQ(windows_.WindowText(reinterpret_cast<TWindowId>(slow)), "slow window");
    PostThreadMessageW(ownerThread, WM_QUIT, 0, 0);
    owner.join();
    CloseHandle(created);
    CloseHandle(release);
}

// The object a child stands for, whichever way it was handed out.
std::shared_ptr<IAccessibleObject> Resolve(IAccessibleObject& parent, const TAccessibleChild& child) {
    if (child.Kind == TAccessibleChild::TKind::ChildId) return parent.Child(child.ChildId);
    if (child.Kind == TAccessibleChild::TKind::Object && child.Object) return child.Object;
    ADD_FAILURE() << "child of kind " << static_cast<int>(child.Kind);
    return std::make_shared<testing::FakeAccessibleObject>("unresolved");
}

class AccessibleObjectTest : public WindowSystemTest {
protected:
    void SetUp() override {
        root_ = FakeAccessibleNode::Create(ROLE_SYSTEM_WINDOW, std::nullopt, STATE_SYSTEM_FOCUSABLE);
        text_ = root_->Add(FakeAccessibleNode::Create(ROLE_SYSTEM_TEXT,
                                                      Utf8ToWide("https://\xC3\xA9t\xC3\xA9.fr/\xF0\x9F\x98\x80"),
                                                      STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_HOTTRACKED));
        root_->Add(FakeAccessibleNode::Create(ROLE_SYSTEM_GROUPING));
        frame_ = std::make_unique<TestWindow>(L"VhAccessibleFrame", "accessible");
        frame_->Serve(root_.Get());
    }
    void TearDown() override { frame_.reset(); }

    ComPtr<FakeAccessibleNode> root_;
    FakeAccessibleNode* text_ = nullptr;
    std::unique_ptr<TestWindow> frame_;
};

TEST_F(AccessibleObjectTest, RequestingTheTreeTakesTheAnswerAndLetsItGo) {
    const auto references = [&] {
        root_->AddRef();
        return root_->Release();
    };
    const ULONG before = references();
    const long callsBefore = FakeAccessibleNode::Calls();
    windows_.RequestAccessibility(frame_->Id());
    EXPECT_GT(FakeAccessibleNode::Calls(), callsBefore) << "the window was not asked for its object";
    EXPECT_EQ(references(), before) << "the answer's reference was left behind";
    windows_.RequestAccessibility(0);  // no window: nothing happens
}

TEST_F(AccessibleObjectTest, ReadsRoleValueStateAndChildCount) {
    std::shared_ptr<IAccessibleObject> root = windows_.AccessibleObjectFromWindow(frame_->Id());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Role(), ROLE_SYSTEM_WINDOW);
    EXPECT_EQ(root->State(), STATE_SYSTEM_FOCUSABLE);
    EXPECT_FALSE(root->Value().has_value()) << "the root has no value";
    EXPECT_EQ(root->ChildCount(), 2);

    std::shared_ptr<IAccessibleObject> text = root->Child(1);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Role(), ROLE_SYSTEM_TEXT);
    EXPECT_EQ(text->Value(), "https://\xC3\xA9t\xC3\xA9.fr/\xF0\x9F\x98\x80");
    EXPECT_EQ(text->State(), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_HOTTRACKED);
    EXPECT_EQ(root->Child(3), nullptr);
    EXPECT_TRUE(text->SameObject(*root->Child(1)));
    EXPECT_FALSE(text->SameObject(*root->Child(2)));
}

TEST_F(AccessibleObjectTest, ReachesChildrenInEachOfTheThreeWays) {
    std::shared_ptr<IAccessibleObject> root = windows_.AccessibleObjectFromWindow(frame_->Id());
    ASSERT_NE(root, nullptr);

    // Only get_accChild and navigation offered: AccessibleChildren hands out
    // the children (as objects or as child ids to resolve).
    std::optional<std::vector<TAccessibleChild>> children = root->Children(2);
    ASSERT_TRUE(children.has_value());
    ASSERT_EQ(children->size(), 2u);
    EXPECT_EQ(Resolve(*root, (*children)[0])->Role(), ROLE_SYSTEM_TEXT);
    EXPECT_EQ(Resolve(*root, (*children)[1])->Role(), ROLE_SYSTEM_GROUPING);
    EXPECT_EQ(root->Enumerator(), nullptr);

    TAccessibleChild first = root->Navigate(TNavigation::FirstChild, TAccessibleChild::FromId(0));
    ASSERT_EQ(first.Kind, TAccessibleChild::TKind::ChildId);
    EXPECT_EQ(first.ChildId, 1);
    TAccessibleChild second = root->Navigate(TNavigation::Next, first);
    EXPECT_EQ(second.ChildId, 2);
    EXPECT_EQ(root->Navigate(TNavigation::Next, second).Kind, TAccessibleChild::TKind::Empty);

    // With IEnumVARIANT: objects, read one at a time.
    root_->SetAccess(FakeAccessibleNode::TChildAccess::Enumerator);
    std::shared_ptr<IAccessibleObject> enumerating = windows_.AccessibleObjectFromWindow(frame_->Id());
    ASSERT_NE(enumerating, nullptr);
    std::unique_ptr<IAccessibleEnumerator> enumerator = enumerating->Enumerator();
    ASSERT_NE(enumerator, nullptr);
    std::optional<TAccessibleChild> a = enumerator->Next();
    ASSERT_TRUE(a.has_value());
    ASSERT_EQ(a->Kind, TAccessibleChild::TKind::Object);
    ASSERT_NE(a->Object, nullptr);
    EXPECT_EQ(a->Object->Role(), ROLE_SYSTEM_TEXT);
    std::optional<TAccessibleChild> b = enumerator->Next();
    ASSERT_TRUE(b.has_value());
    EXPECT_EQ(b->Object->Role(), ROLE_SYSTEM_GROUPING);
    EXPECT_FALSE(enumerator->Next().has_value());
    // A new reader starts from the first child again.
    std::optional<TAccessibleChild> again = enumerating->Enumerator()->Next();
    ASSERT_TRUE(again.has_value());
    EXPECT_TRUE(again->SameAs(*a));

    std::optional<std::vector<TAccessibleChild>> objects = enumerating->Children(2);
    ASSERT_TRUE(objects.has_value());
    ASSERT_EQ(objects->size(), 2u);
    EXPECT_EQ((*objects)[0].Kind, TAccessibleChild::TKind::Object);
}

TEST_F(AccessibleObjectTest, AWindowWithoutItsOwnTreeStillHasTheSystemsObject) {
    TestWindow plain(L"VhPlainFrame", "plain");
    std::shared_ptr<IAccessibleObject> object = windows_.AccessibleObjectFromWindow(plain.Id());
    ASSERT_NE(object, nullptr);
    // Wine's stand-in object answers E_NOTIMPL to get_accRole and
    // get_accChildCount; Windows answers ROLE_SYSTEM_WINDOW. Either way the
    // failure must come back as "nothing", not as a value.
    const std::optional<std::int32_t> role = object->Role();
    if (role) {
        EXPECT_EQ(*role, ROLE_SYSTEM_WINDOW);
    }
    const std::optional<std::int32_t> count = object->ChildCount();
    if (count) {
        EXPECT_GE(*count, 0);
    }
}

}  // namespace
}  // namespace vh::win32
