#pragma once

#include "Application.h"
#include "HeadlessSession.h"
#include "TForm.h"

#include <functional>

// A bare form of the toolkit running on the headless backend, for testing the toolkit on its
// own. The setup runs on the program's thread before the form is shown; the form's client area
// starts at (100, 100) plus the frame.
class Sandbox {
public:
    using Setup = std::function<void(tk::Application&, tk::TForm&)>;

    explicit Sandbox(Setup setup);

    tk::HeadlessPlatform& platform() { return m_session.platform(); }
    tk::Application& app() { return *m_app; }
    tk::TForm& form() { return *m_form; }

    tk::Point screenOf(tk::Point client);
    void click(tk::Point client);
    void moveTo(tk::Point client) { platform().moveTo(screenOf(client)); }
    bool ended() const { return m_session.ended(); }

private:
    tk::Application* m_app = nullptr;
    tk::TForm* m_form = nullptr;
    tk::HeadlessSession m_session;
};
