#include "TMessageForm.h"

#include "Application.h"
#include "TButton.h"
#include "TLabel.h"

#include <algorithm>

namespace tk {

namespace {
constexpr int Margin = 24;
constexpr int TextTop = 20;
constexpr int TextHeight = 18;
constexpr Size OkSize { 75, 25 };
constexpr int ButtonGap = 18;
constexpr int BottomMargin = 12;
// What a window manager's frame usually adds, for centring before the real frame is known.
constexpr Size TypicalFrame { 2, 24 };
}

TMessageForm::TMessageForm(Application& application, std::string_view text)
    : TForm(application, "MessageBox", WindowRole::Dialog)
{
    SetCaption(application.Title());
    SetColor(colors::Silver);

    int textWidth = Font().textWidth(text);
    Size client { std::max(textWidth, OkSize.width) + 2 * Margin, TextTop + TextHeight + ButtonGap + OkSize.height + BottomMargin };
    Size outer { client.width + TypicalFrame.width, client.height + TypicalFrame.height };
    Size screen = application.platform().screenSize();
    SetBounds({ (screen.width - outer.width) / 2, (screen.height - outer.height) / 2 }, outer);

    m_label = create<TLabel>("Message", Rect { Margin, TextTop, textWidth, TextHeight });
    m_label->SetCaption(std::string(text));
    m_ok = create<TButton>("OK", Rect { 0, 0, OkSize.width, OkSize.height });
    m_ok->SetCaption("OK");
    m_ok->OnClick = [this](TObject*) { Close(); };
    CancelButton = m_ok;
    SetActiveControl(m_ok);
    clientResized();
}

void TMessageForm::clientResized()
{
    // Keep the text and the button centred in whatever client area the window system gave us.
    int width = ClientWidth();
    m_label->SetLeft((width - m_label->Width()) / 2);
    m_ok->SetBounds({ (width - OkSize.width) / 2, std::max(ClientHeight() - BottomMargin - OkSize.height, TextTop + TextHeight + 4), OkSize.width, OkSize.height });
}

}
