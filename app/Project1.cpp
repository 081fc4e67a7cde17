#include "app/Project1.h"

#include "app/Unit1.h"
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
}

void ShutDown() {
    vcl::Application->DestroyForms();
    vcl::WindowSystem().SetBackend(nullptr);
}

}  // namespace app
