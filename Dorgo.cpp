#include "Dorgo.h"

#include "Application.h"
#include "Art.h"
#include "DorgoMain.h"

#include <cstdio>

int RunDorgo(tk::Platform& platform, std::string_view programPath)
{
    InitializeState();

    tk::Application application(platform);
    application.SetTitle(tk::Application::titleFromProgramPath(programPath));
    application.SetIcon(art::Picture("MAINICON"));

    std::unique_ptr<TfrmMain> form = application.CreateForm<TfrmMain>();
    frmMain = form.get();
    tk::RunResult result = application.Run(*form);
    frmMain = nullptr;

    if (result == tk::RunResult::WindowSystemGone) {
        std::fprintf(stderr, "dorgo: the window system went away\n");
        return ExitWindowSystemGone;
    }
    return ExitClosed;
}
