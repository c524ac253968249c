#pragma once

#include "Geometry.h"
#include "HitTestResult.h"
#include "TControl.h"

namespace tk {

class TForm;

// What a drag ended with.
enum class DragOutcome { Dropped, Cancelled };

// Runs one drag at a time within a form. A deferred drag waits until the pointer has moved the
// threshold from where the drag was asked for; while active, every move asks the spot under the
// pointer whether it takes the dragged control (leaving the old spot and entering the new one
// first when they differ) and shows the matching cursor. The release asks the last spot once
// more; Escape, losing the pointer capture or a release before the drag became active end it
// with no target. Either way the source's end-of-drag handler runs exactly once.
class DragController {
public:
    explicit DragController(TForm& form)
        : m_form(form)
    {
    }

    bool inProgress() const { return m_source != nullptr; }
    bool active() const { return m_active; }
    TControl* source() const { return m_source; }

    void begin(TControl& source, Point start, DragStart, int threshold);
    void move(Point client);
    void release(Point client);
    void cancel();

private:
    // A spot under the pointer: a control, the form's surface, or nothing (outside).
    using Spot = HitTestResult;

    Spot spotAt(Point client) const;
    bool ask(const Spot&, Point client, DragState);
    void moveTo(Point client);
    void finish(TObject* target, Point client);

    TForm& m_form;
    TControl* m_source = nullptr;
    Point m_start;
    int m_threshold = DefaultDragThreshold;
    bool m_active = false;
    Spot m_spot;
    bool m_accepted = false;
};

}
