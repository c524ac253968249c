#pragma once

#include "Bitmap.h"
#include "DragController.h"
#include "Font.h"
#include "HitTestResult.h"
#include "Platform.h"
#include "TComponent.h"
#include "TControl.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

class Application;
class TButton;

// A top-level window and the components it owns. The form draws its whole client area itself
// (its colour, then pictures and labels in creation order, then buttons above them), routes the
// pointer to the control under it, keeps the keyboard focus among its buttons, and runs drags
// between its controls.
class TForm : public TComponent {
public:
    TForm(Application& application, std::string name, WindowRole role = WindowRole::Main);
    ~TForm() override;

    Application& application() const { return m_application; }

    // Window properties. Left and Top are the screen position of the outer frame: while the
    // window is shown they are read from the window system at that moment.
    int Left() const;
    int Top() const;
    int Width() const { return m_outerSize.width; }
    int Height() const { return m_outerSize.height; }
    void SetBounds(Point outerOrigin, Size outerSize);
    int ClientWidth() const { return m_clientSize.width; }
    int ClientHeight() const { return m_clientSize.height; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption) { m_caption = std::move(caption); }
    tk::Color Color() const { return m_color; }
    void SetColor(tk::Color color);
    const tk::Font& Font() const { return *m_font; }
    tk::Color FontColor() const { return m_fontColor; }
    WindowRole role() const { return m_role; }

    // Components, in creation order.
    template<class T, class... Args>
    T* create(Args&&... args)
    {
        auto component = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T* raw = component.get();
        m_components.push_back(std::move(component));
        return raw;
    }
    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    TComponent* Components(int index) const { return m_components.at(static_cast<std::size_t>(index)).get(); }
    // Finds a component by name, ignoring letter case; null when none bears it.
    TComponent* FindComponent(std::string_view name) const;

    TNotifyEvent OnCreate;
    TDragOverEvent OnDragOver;

    // Keyboard focus: one of the form's buttons, moved by Tab and Shift+Tab in tab order.
    TButton* ActiveControl() const { return m_activeControl; }
    void SetActiveControl(TButton*);
    // The button that Escape presses, if any.
    TButton* CancelButton = nullptr;

    void Show();
    void Close();
    bool Showing() const { return m_window != NoWindow; }
    bool Closed() const { return m_closed; }
    WindowId window() const { return m_window; }

    HitTestResult hitTest(Point client) const;
    Point pointer() const { return m_pointer; }

    void invalidate(const Rect& clientArea);
    void invalidate();
    // Draws the given part of the client area into the bitmap.
    void composite(Bitmap& target, const Rect& area) const;
    // Draws and presents what changed since the last call.
    void paint();
    const Bitmap& frame() const { return m_frame; }

    // For the event loop and for controls.
    void handleEvent(const Event&);
    void doCreate();
    void beginDrag(TControl& source, DragStart, int threshold);
    const DragController& drag() const { return m_drag; }

protected:
    // Called once the window's client area has its size, and again whenever it changes.
    virtual void clientResized() { }

private:
    void mouseDown(const Event&);
    void mouseMove(const Event&);
    void mouseUp(const Event&);
    void keyDown(const Event&);
    void focusNext(bool backwards);
    void releasePressedButton();
    void resizeClient(Size);

    Application& m_application;
    WindowRole m_role;
    Point m_outerOrigin { 0, 0 };
    Size m_outerSize { 320, 240 };
    Size m_clientSize { 320, 240 };
    std::string m_caption;
    tk::Color m_color = colors::White;
    const tk::Font* m_font = &tk::Font::system();
    tk::Color m_fontColor = colors::Black;

    std::vector<std::unique_ptr<TComponent>> m_components;
    TButton* m_activeControl = nullptr;
    TButton* m_pressedButton = nullptr;
    Point m_pointer;
    DragController m_drag;

    WindowId m_window = NoWindow;
    bool m_closed = false;
    Bitmap m_frame;
    Rect m_dirty;
};

}
