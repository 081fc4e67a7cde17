#include "app/Project1.h"

#include "app/BusMonitor.h"
#include "app/Unit1.h"
#include "controls/button/Button.h"
#include "controls/effects/EffectList.h"
#include "platform/runtime/Random.h"
#include "platform/toolkit/Application.h"
#include "platform/window/WindowSystem.h"

namespace app {

void StartUp() {
    // The context menus' random transition effect draws from the generator; the registry of
    // effects is filled on its first use.
    vcl::Randomize();
    se::Effects();
    vcl::Application->Initialize();
    vcl::Application->SetTitle(kApplicationTitle);
    vcl::Application->CreateForm(Form1);
    // The bus monitor logs the port from the start, shown or not.
    vcl::Application->CreateForm(BusMonitor);
    BusMonitor->Watch(
        *Form1->Comm1, [] { Form1->SeSkinButton3Click(Form1->SeSkinButton3); },
        [](const std::vector<uint8_t>& reply, uint64_t firstArrival) { Form1->ShowReply(reply, firstArrival); });
    BusMonitor->MainReceiving = [] { return Form1->Receiving(); };
}

void ShutDown() {
    vcl::Application->DestroyForms();
    vcl::WindowSystem().SetBackend(nullptr);
}

}  // namespace app
