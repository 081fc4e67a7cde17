// The combo box in a real window: the SDL backend on a private X server, driven by xdotool. The
// list opens in its own top-most pop-up, a click on an item picks it, a click outside closes it,
// and the form keeps the activation throughout.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/combobox/ComboBox.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/Form.h"
#include "platform/window/Input.h"
#include "platform/window/WindowSystem.h"
#include "tests/support/RealScreen.h"

namespace se {
namespace {

using namespace vcl;
using vcl::testing_support::PumpUntil;
using vcl::testing_support::RunProgram;

bool ClickAt(TPoint screen) {
    return RunProgram({"xdotool", "mousemove", std::to_string(screen.X), std::to_string(screen.Y), "click", "1"}) == 0;
}

// Disabled: on the SDL backend under X, showing the drop-down window (an SDL pop-up-menu window)
// moves the X input focus to it, the main window reports FOCUS_LOST, the window system deactivates
// the form and the combo box, losing the focus, closes its list before the click on an item
// arrives. The pop-up must not take the native focus (a backend matter); run this test with
// --gtest_also_run_disabled_tests to check it once the backend keeps the focus.
TEST(ComboBoxSmoke, DISABLED_TheBaudRateListOpensPicksAndClosesInARealWindow) {
    vcl::testing_support::PrivateXServer server;
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    std::unique_ptr<TSdlBackend> backend;
    try {
        backend = std::make_unique<TSdlBackend>();
    } catch (const std::exception& e) {
        FAIL() << "an X server runs but SDL cannot use it: " << e.what();
    }
    MessageQueue().Reset();
    WindowSystem().SetBackend(backend.get());
    Application->ResetTerminated();

    auto* form = new TForm(Application);
    form->SetBounds(100, 100, 300, 240);
    form->SetCaption("Velmo combo smoke");
    form->AfterConstruction();
    form->Show();
    auto* combo = new TSeSkinComboBox(form);
    combo->SetBounds(10, 10, 97, combo->Height());
    combo->SetParent(form);
    for (const char* rate : {"1200", "2400", "4800", "9600", "14400", "19200", "38400", "57600", "115200"})
        combo->Items().Add(std::string(rate));
    combo->SetItemIndex(3);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == form->Handle(); })) << "the form never became active";
    // Without a window manager X lets the keyboard focus follow the pointer; a desktop gives it
    // to the window the user activated, which is what setting it here does.
    ASSERT_EQ(RunProgram({"xdotool", "search", "--name", "Velmo combo smoke", "windowfocus", "--sync"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == form->Handle(); }));

    const TRect button = combo->ButtonRect();
    const TPoint buttonOnScreen = combo->ClientToScreen({button.Left + 7, button.Top + 7});
    ASSERT_TRUE(ClickAt(buttonOnScreen)) << "xdotool failed";
    ASSERT_TRUE(PumpUntil([&] { return combo->DroppedDown(); })) << "the list did not open";
    EXPECT_EQ(GetActiveWindow(), form->Handle()) << "opening took the activation";

    // Row 6 of the list ("38400").
    const TRect list = combo->DropDownWindow()->BoundsRect();
    ASSERT_TRUE(ClickAt({list.Left + 20, list.Top + 2 + 6 * 15 + 7}));
    EXPECT_TRUE(PumpUntil([&] { return !combo->DroppedDown() && combo->ItemIndex() == 6; }))
        << "index " << combo->ItemIndex() << ", still open: " << combo->DroppedDown();
    EXPECT_EQ(combo->Text(), u"38400");
    EXPECT_EQ(changes, 1);

    ASSERT_TRUE(ClickAt(buttonOnScreen));
    ASSERT_TRUE(PumpUntil([&] { return combo->DroppedDown(); }));
    ASSERT_TRUE(ClickAt({350, 300}));  // on the form, away from the list
    EXPECT_TRUE(PumpUntil([&] { return !combo->DroppedDown(); })) << "a click outside did not close the list";
    EXPECT_EQ(combo->ItemIndex(), 6);
    EXPECT_EQ(GetActiveWindow(), form->Handle()) << "the form lost the activation";

    delete form;
    WindowSystem().SetBackend(nullptr);
    MessageQueue().Reset();
    backend.reset();
}

}  // namespace
}  // namespace se
