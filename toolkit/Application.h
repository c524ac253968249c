#pragma once

#include "Bitmap.h"
#include "Platform.h"

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class TForm;

enum class RunResult { Closed, WindowSystemGone };

// The application object: one per program. It owns nothing but the event loop's state: the
// forms register themselves while their windows are shown. The loop runs on one thread; it
// delivers timer ticks and input one at a time, repaints what changed, and sleeps until the
// next timer falls due when there is nothing to do. A modal form runs a nested loop of its own,
// in which timers keep ticking and every window keeps painting, while input reaches only the
// modal form. An exception that escapes a handler is shown in a message box, and the loop goes
// on.
class Application {
public:
    explicit Application(Platform& platform);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    Platform& platform() const { return m_platform; }
    Millis now() const { return m_platform.now(); }

    const std::string& Title() const { return m_title; }
    void SetTitle(std::string title) { m_title = std::move(title); }
    const Bitmap& Icon() const { return m_icon; }
    void SetIcon(Bitmap icon) { m_icon = std::move(icon); }

    // The title a program file gives: its name without folder and extension, the first letter
    // as it stands and the rest in lower case ("C:\\GAMES\\FISH.EXE" gives "Fish").
    static std::string titleFromProgramPath(std::string_view path);

    // Builds a form and runs its creation handler, before the form is ever shown.
    template<class T, class... Args>
    std::unique_ptr<T> CreateForm(Args&&... args)
    {
        auto form = std::make_unique<T>(*this, std::forward<Args>(args)...);
        form->doCreate();
        return form;
    }

    // The pointer's position on the screen at this moment.
    Point CursorPos() const { return m_platform.pointerScreenPosition(); }

    // The one random generator of the run.
    void Randomize(); // seeds it from the clock
    void RandSeed(std::uint64_t seed) { m_random.seed(seed); }
    // A whole number from 0 to n - 1, each equally likely.
    int Random(int n);

    // Shows the main form and runs the loop until it closes or the window system goes away.
    RunResult Run(TForm& mainForm);
    // Shows the form and runs a nested loop until it closes.
    void ShowModal(TForm& form);
    // A modal box titled with the application's title, showing the text and one button "OK".
    void ShowMessage(std::string_view text);
    bool Terminated() const { return m_terminated; }
    TForm* modalForm() const { return m_modalStack.empty() ? nullptr : m_modalStack.back(); }

    // For forms.
    void registerForm(TForm&);
    void unregisterForm(TForm&);
    void formClosed(TForm&);

private:
    void runUntil(const TForm& form);
    void loopOnce();
    bool fireDueTimer();
    Millis nextDeadline() const;
    void dispatch(const Event&);
    void paintAll();
    // Runs a handler; an exception that escapes it is shown in a message box.
    void guarded(const std::function<void()>& handler);

    Platform& m_platform;
    std::string m_title;
    Bitmap m_icon;
    std::mt19937_64 m_random { 1 };
    std::vector<TForm*> m_forms; // shown forms, in the order they were shown
    std::vector<TForm*> m_modalStack;
    TForm* m_mainForm = nullptr;
    bool m_terminated = false;
    RunResult m_result = RunResult::Closed;
};

}
