#include "Application.h"

#include "TForm.h"
#include "TMessageForm.h"
#include "TTimer.h"

#include <algorithm>
#include <cctype>

namespace tk {

Application::Application(Platform& platform)
    : m_platform(platform)
{
}

Application::~Application() = default;

std::string Application::titleFromProgramPath(std::string_view path)
{
    std::size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    // Everything from the first dot on is extension: "sea.fish.exe" gives "sea".
    std::string_view stem = name.substr(0, name.find('.'));
    if (stem.empty())
        stem = name;
    std::string title(stem);
    if (title.empty())
        return title;
    // The first character stays as it stands, however many bytes it takes.
    std::size_t first = 1;
    while (first < title.size() && (static_cast<unsigned char>(title[first]) & 0xC0) == 0x80)
        ++first;
    std::transform(title.begin() + static_cast<std::ptrdiff_t>(first), title.end(), title.begin() + static_cast<std::ptrdiff_t>(first),
        [](unsigned char c) { return static_cast<char>(c < 0x80 ? std::tolower(c) : c); });
    return title;
}

void Application::Randomize()
{
    m_random.seed(m_platform.clockSeed());
}

int Application::Random(int n)
{
    if (n <= 1)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_random);
}

RunResult Application::Run(TForm& mainForm)
{
    m_mainForm = &mainForm;
    mainForm.Show();
    runUntil(mainForm);
    return m_result;
}

void Application::ShowModal(TForm& form)
{
    form.Show();
    m_modalStack.push_back(&form);
    runUntil(form);
    m_modalStack.pop_back();
    form.Close();
}

void Application::ShowMessage(std::string_view text)
{
    TMessageForm box(*this, text);
    ShowModal(box);
}

void Application::registerForm(TForm& form)
{
    m_forms.push_back(&form);
}

void Application::unregisterForm(TForm& form)
{
    std::erase(m_forms, &form);
    std::erase(m_modalStack, &form);
    if (m_mainForm == &form)
        m_mainForm = nullptr;
}

void Application::formClosed(TForm& form)
{
    // Closing the main window ends the program, whatever loop is running.
    if (&form == m_mainForm)
        m_terminated = true;
}

void Application::runUntil(const TForm& form)
{
    while (!m_terminated && !form.Closed())
        loopOnce();
}

void Application::loopOnce()
{
    while (!m_terminated && fireDueTimer()) { }
    if (m_terminated)
        return;
    paintAll();
    if (std::optional<Event> event = m_platform.waitEvent(nextDeadline()))
        dispatch(*event);
}

bool Application::fireDueTimer()
{
    // The earliest tick that is due; ties go to the timer created first.
    Millis now = m_platform.now();
    TTimer* due = nullptr;
    for (TForm* form : m_forms) {
        for (int i = 0; i < form->ComponentCount(); ++i) {
            auto* timer = dynamic_cast<TTimer*>(form->Components(i));
            if (timer && timer->Enabled() && timer->nextDue() <= now && (!due || timer->nextDue() < due->nextDue()))
                due = timer;
        }
    }
    if (!due)
        return false;
    guarded([&] { due->tick(now); });
    return true;
}

Millis Application::nextDeadline() const
{
    Millis deadline = NoDeadline;
    for (TForm* form : m_forms) {
        for (int i = 0; i < form->ComponentCount(); ++i) {
            if (auto* timer = dynamic_cast<TTimer*>(form->Components(i)); timer && timer->Enabled())
                deadline = std::min(deadline, timer->nextDue());
        }
    }
    return deadline;
}

void Application::dispatch(const Event& event)
{
    if (event.type == Event::Type::WindowSystemGone) {
        m_terminated = true;
        m_result = RunResult::WindowSystemGone;
        return;
    }
    auto it = std::find_if(m_forms.begin(), m_forms.end(), [&](TForm* f) { return f->Showing() && f->window() == event.window; });
    if (it == m_forms.end())
        return;
    TForm* form = *it;
    // While a modal form is open, pointer, keys and close requests reach only that form.
    bool isInput = event.type == Event::Type::MouseDown || event.type == Event::Type::MouseUp || event.type == Event::Type::MouseMove
        || event.type == Event::Type::KeyDown || event.type == Event::Type::CloseRequested;
    if (isInput && modalForm() && form != modalForm())
        return;
    guarded([&] { form->handleEvent(event); });
}

void Application::paintAll()
{
    for (TForm* form : m_forms)
        form->paint();
}

void Application::guarded(const std::function<void()>& handler)
{
    // The box is shown once the exception is over, so that the nested loop does not run
    // inside a catch block.
    std::string error;
    try {
        handler();
    } catch (const std::exception& e) {
        error = e.what();
    } catch (...) {
        error = "unknown error";
    }
    if (!error.empty() && !m_terminated)
        ShowMessage(error);
}

}
