#pragma once

#include "TForm.h"

#include <string_view>

namespace tk {

class TButton;
class TLabel;

// The message box: a small fixed window centred on the screen, titled with the application's
// title, with one line of text and a button "OK". Enter, Space and Escape press OK; OK and
// the close box close it.
class TMessageForm : public TForm {
public:
    TMessageForm(Application&, std::string_view text);

    TLabel* label() const { return m_label; }
    TButton* okButton() const { return m_ok; }

protected:
    void clientResized() override;

private:
    TLabel* m_label;
    TButton* m_ok;
};

}
