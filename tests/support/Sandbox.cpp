#include "Sandbox.h"

Sandbox::Sandbox(Setup setup)
    : m_session([this, setup = std::move(setup)](tk::Platform& platform) {
        tk::Application app(platform);
        app.SetTitle("Sandbox");
        tk::TForm form(app, "frmSandbox");
        form.SetBounds({ 100, 100 }, { 302, 225 });
        form.SetCaption("Sandbox");
        m_app = &app;
        m_form = &form;
        setup(app, form);
        app.Run(form);
        m_app = nullptr;
        m_form = nullptr;
        return 0;
    })
{
}

tk::Point Sandbox::screenOf(tk::Point client)
{
    auto w = platform().windows().front();
    return { w.clientOrigin().x + client.x, w.clientOrigin().y + client.y };
}

void Sandbox::click(tk::Point client)
{
    moveTo(client);
    platform().press(tk::MouseButton::Left);
    platform().release(tk::MouseButton::Left);
}
